#pragma once

#include "calculation_screen.h"

// bh: the design wall thickness of a steel pipeline. A sizeable window without banner.
class WallThicknessScreen : public CalculationScreen
{
    Q_OBJECT

public:
    WallThicknessScreen();

    void Form_Load() override;
};
