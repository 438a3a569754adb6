#pragma once

#include "screen.h"

// fxgj: the laminar section diameter check (not built yet: its caption, back button and menu bar only).
class LaminarCheckScreen : public Screen
{
    Q_OBJECT

public:
    LaminarCheckScreen();
};
