#pragma once

#include "worked_tables.h"

#include <QLabel>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QWidget;
class Shell;

// The messages a user reads when a typed value is refused.
extern const QString kNotPositive;
extern const QString kOutOfRange;

// The messages a table row expects: none for an empty text, else that one.
QStringList messageList(const QString &message);

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
    // Opens a screen from the main menu by its button (logging in first when needed) and waits until it is
    // exposed.
    QWidget *openFromMenu(const char *menuButton);
    // Clicks "计算" (Command1) and returns the messages shown so far.
    QStringList calculate(QWidget *screen);
    // The one visible screen's code, or a list of them when that is not one.
    QString visibleScreens() const;

    std::unique_ptr<Shell> shell;
    MessageRecorder messages;
};

// Replaces the text of a text box as a user would select all and type.
void typeInto(QWidget *screen, const char *textBox, const QString &text);
// Types the texts into Text1, Text2, ... in that order.
void typeFields(QWidget *screen, const QStringList &texts);
// Clicks a button, option button or check box by its design name.
void clickOn(QWidget *screen, const char *control);
// Steps on a screen: "Text2=10" types 10 into Text2, a bare design name is clicked.
void perform(QWidget *screen, const QStringList &steps);
// Triggers a menu item by its caption.
void chooseMenuItem(QWidget *screen, const QString &caption);
// The text that a label shows.
QString textOf(QWidget *screen, const char *label);
// The texts that the labels show, in the order named.
QStringList textsOf(QWidget *screen, const QStringList &labels);
// The text in a text box.
QString boxText(QWidget *screen, const char *textBox);
// The caption of a label, button or frame.
QString captionOf(QWidget *screen, const QString &control);
// True when the control is shown on its screen.
bool shown(QWidget *screen, const char *control);
// Those of the named controls that are shown, in the order named, separated by blanks.
QString shownOf(QWidget *screen, const QStringList &controls);
// True when the option button or check box is ticked.
bool checked(QWidget *screen, const char *button);
// True when the control takes input.
bool enabled(QWidget *screen, const char *control);
// Adds a row of a table whose columns are all texts.
void addTextRow(const char *name, const QStringList &texts);

// A calculation table of a one-result screen has the columns inputs (typed into Text1, Text2, ... in order),
// options (clicked before "计算"), result (the result label's text afterwards) and message (empty for none).
void addCalculationColumns();
// A row whose result is shown.
void addCalculation(const char *name, const QStringList &inputs, const QString &result,
                    const QStringList &options = {});
// A row whose click is refused with the message; the result label keeps what it showed.
void addRefusal(const char *name, const QStringList &inputs, const QString &message, const QStringList &options = {});
// Runs the current row of a calculation table on the screen that the menu button opens: the result label starts
// empty and shows a result for the worked case; then the row is typed, clicked and compared.
void checkCalculation(const char *menuButton, const char *resultLabel, const QStringList &workedCase);

// The design name of a screen's back button ("返回", or "确定"/"了解").
const char *backButtonOf(const QString &code);
// The design names that Tab visits from the first control, until it comes back.
QStringList tabOrder(QWidget *screen, const char *first);
