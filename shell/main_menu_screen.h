#pragma once

#include "screen.h"

// xz: the main menu, every calculation as a button and as a menu item.
class MainMenuScreen : public Screen
{
    Q_OBJECT

public:
    MainMenuScreen();
};
