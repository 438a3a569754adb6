#pragma once

#include "calculation_screen.h"

// yt: the additional (gravity) head of a gas column over a height difference.
class AdditionalHeadScreen : public CalculationScreen
{
    Q_OBJECT

public:
    AdditionalHeadScreen();
};
