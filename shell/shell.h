#pragma once

#include <QString>

#include <map>

class QWidget;
class Screen;
struct NavigationRow;

// Owns the thirteen screens: creates each on first show, moves between them by
// the navigation table, and ends the program.
class Shell
{
public:
    Shell();
    ~Shell();
    Shell(const Shell &) = delete;
    Shell &operator=(const Shell &) = delete;

    // Creates and shows the login screen.
    void start();
    // The screen with that code, nullptr until it is first shown.
    QWidget *screen(const QString &code) const;
    // True once "退出" has closed every screen.
    bool ended() const { return m_ended; }

private:
    Screen *ensure(const QString &code);
    void wire(Screen *screen);
    void follow(const NavigationRow &row, Screen *from);
    void open(const QString &code, Screen *from, bool hideFirst);
    void closeRequested(Screen *screen);
    void endProgram();

    std::map<QString, Screen *> m_screens;
    bool m_ended = false;
};
