#pragma once

#include "screen.h"

// gyxd: the medium/high-pressure section (not built yet: its caption, back button and menu bar only).
class HighPressureSectionScreen : public Screen
{
    Q_OBJECT

public:
    HighPressureSectionScreen();
};
