#pragma once

#include "screen.h"

// jb: indoor local pressure loss (not built yet: its caption, back button and menu bar only).
class IndoorLocalLossScreen : public Screen
{
    Q_OBJECT

public:
    IndoorLocalLossScreen();
};
