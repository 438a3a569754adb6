#pragma once

#include "calculation_screen.h"

// fxgj: the diameter of a laminar low-pressure section, rounded up to a standard size.
class LaminarCheckScreen : public CalculationScreen
{
    Q_OBJECT

public:
    LaminarCheckScreen();
};
