#pragma once

#include "screen.h"

// yt: additional pressure head (not built yet: its caption, back button and menu bar only).
class AdditionalHeadScreen : public Screen
{
    Q_OBJECT

public:
    AdditionalHeadScreen();
};
