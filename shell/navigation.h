#pragma once

#include <span>

// What a navigation control does when it is used.
enum class NavigationEffect {
    Open, // show the target, then hide the current screen
    OpenHideFirst, // hide the current screen, then show the target
    EndProgram, // close every screen and end the program
};

// One row of the navigation table: on screen `screen`, using the control or
// menu item named `control` moves to `target`. `back` marks the row that the
// window's own close button repeats.
struct NavigationRow
{
    const char *screen;
    const char *control;
    const char *target;
    NavigationEffect effect;
    bool back;
};

// Every screen change of the program.
std::span<const NavigationRow> navigationTable();
