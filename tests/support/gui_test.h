#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QWidget;
class Shell;

// Records every message box text instead of opening a box, for as long as it lives.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    // The messages shown so far, then forgets them.
    QStringList take();

private:
    std::shared_ptr<QStringList> m_messages;
};

// A started shell with the test's own message recorder.
struct Session
{
    Session();
    ~Session();

    // Logs in with the stored user name and password; returns the main menu.
    QWidget *login();
    // Opens a screen from the main menu by its button (logging in first when needed).
    QWidget *openFromMenu(const char *menuButton);
    // The one visible screen's code, or a list of them when that is not one.
    QString visibleScreens() const;

    std::unique_ptr<Shell> shell;
    MessageRecorder messages;
};

// Replaces the text of a text box as a user would select all and type.
void typeInto(QWidget *screen, const char *textBox, const QString &text);
// Clicks a button, option button or check box by its design name.
void clickOn(QWidget *screen, const char *control);
// Triggers a menu item by its caption.
void chooseMenuItem(QWidget *screen, const QString &caption);
// The text that a label shows.
QString textOf(QWidget *screen, const char *label);
// True when the control is shown on its screen.
bool shown(QWidget *screen, const char *control);
// The design name of a screen's back button ("返回", or "确定"/"了解").
const char *backButtonOf(const QString &code);
// The design names that Tab visits from the first control, until it comes back.
QStringList tabOrder(QWidget *screen, const char *first);
