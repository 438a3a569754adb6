#pragma once

#include <QString>

class Screen;

// A new screen for a code, or nullptr for an unknown code.
Screen *createScreen(const QString &code);
