#pragma once

#include "calculation_screen.h"

// jb: the local pressure loss of indoor piping.
class IndoorLocalLossScreen : public CalculationScreen
{
    Q_OBJECT

public:
    IndoorLocalLossScreen();
};
