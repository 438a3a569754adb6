#pragma once

#include "calculation_screen.h"

// lll: the design flow of a supply area from households and rated appliance flow.
class SimultaneityFlowScreen : public CalculationScreen
{
    Q_OBJECT

public:
    SimultaneityFlowScreen();
};
