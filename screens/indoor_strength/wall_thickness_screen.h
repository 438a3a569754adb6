#pragma once

#include "screen.h"

// bh: wall thickness of a steel pipeline (not built yet: its caption, back button and menu bar only).
class WallThicknessScreen : public Screen
{
    Q_OBJECT

public:
    WallThicknessScreen();
};
