#pragma once

#include "calculation_screen.h"

// yl: the allowable unit pressure drop of a low-pressure network.
class AllowableDropScreen : public CalculationScreen
{
    Q_OBJECT

public:
    AllowableDropScreen();
};
