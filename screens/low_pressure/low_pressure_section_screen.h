#pragma once

#include "screen.h"

// xd: the low-pressure section (not built yet: its caption, back button and menu bar only).
class LowPressureSectionScreen : public Screen
{
    Q_OBJECT

public:
    LowPressureSectionScreen();
};
