#pragma once

#include "screen.h"

// gy: the about screen, opened from the help menu.
class AboutScreen : public Screen
{
    Q_OBJECT

public:
    AboutScreen();
};

// cs: the foreword, a note to the program's users that leads on to the login.
class ForewordScreen : public Screen
{
    Q_OBJECT

public:
    ForewordScreen();
};
