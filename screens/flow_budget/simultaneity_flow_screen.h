#pragma once

#include "screen.h"

// lll: design flow by simultaneity coefficients (not built yet: its caption, back button and menu bar only).
class SimultaneityFlowScreen : public Screen
{
    Q_OBJECT

public:
    SimultaneityFlowScreen();
};
