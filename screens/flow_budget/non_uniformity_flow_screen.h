#pragma once

#include "calculation_screen.h"

// ll: the design flow of a supply area from the annual consumption of its residents.
class NonUniformityFlowScreen : public CalculationScreen
{
    Q_OBJECT

public:
    NonUniformityFlowScreen();
};
