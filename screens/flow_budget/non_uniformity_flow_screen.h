#pragma once

#include "screen.h"

// ll: design flow by non-uniformity coefficients (not built yet: its caption, back button and menu bar only).
class NonUniformityFlowScreen : public Screen
{
    Q_OBJECT

public:
    NonUniformityFlowScreen();
};
