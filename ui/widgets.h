#pragma once

#include <QColor>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QAction;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QDialog;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QWidget;

// Small builders that give every control its design name, so that a screen's
// constructor reads like the table of its controls.
namespace toolkit {

QLabel *label(const char *name, const QString &text = QString());
// An empty result label: plain text, with a context menu whose "复制" copies its value.
QLabel *resultLabel(const char *name);
// A result label of fixed size with room for the widest of the given texts. Writing
// it never clips a number and never changes the layout of its screen.
QLabel *resultCell(const char *name, const QStringList &widest);
// The widest texts that the number display gives: fifteen digits with a sign and
// a three-digit exponent, or after "0.000".
QStringList widestNumbers();
QLineEdit *textBox(const char *name);
// A push button that is never the default: Enter presses it only when it has the focus.
QPushButton *commandButton(const char *name, const QString &text);
QRadioButton *optionButton(const char *name, const QString &text = QString());
QCheckBox *checkBox(const char *name, const QString &text);
QGroupBox *frame(const char *name, const QString &caption = QString());

// A caption label left of its text box, in one grid row; the caption is the box's buddy.
QLineEdit *addField(QGridLayout *grid, int row, const char *captionName, const QString &caption, const char *textName,
                    int column = 0);
// The same with a unit label under the caption.
QLineEdit *addFieldWithUnit(QGridLayout *grid, int row, const char *captionName, const QString &caption,
                            const char *unitName, const QString &unit, const char *textName, int column = 0);
// A mode option without text of its own, the caption label that names it beside
// it and the option's text box, in one grid row.
QLineEdit *addOptionField(QGridLayout *grid, int row, QRadioButton *option, const char *captionName,
                          const QString &caption, const char *textName);
// A caption and an empty result label beside it.
QLabel *addResult(QGridLayout *grid, int row, const char *captionName, const QString &caption, const char *resultName,
                  int column = 0);

struct Option
{
    QString name;
    QString text;
};
// A frame whose option buttons form one group, side by side or one above the other.
QGroupBox *optionGroup(const QString &frameName, const QString &caption, const QList<Option> &options,
                       Qt::Orientation orientation = Qt::Horizontal);

// The caption-less frame with the banner line "Orvane".
QGroupBox *banner(const char *frameName, const char *labelName, Qt::Orientation orientation = Qt::Horizontal);

// The row of "计算" (wide) and the back button.
QBoxLayout *buttonRow(QPushButton *calculate, QPushButton *back);

// A menu bar at the top of the screen; items and menus are named by their captions.
QMenuBar *menuBar(QDialog *screen);
QAction *menuItem(QMenuBar *bar, const QString &caption);
QAction *menuItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut = QKeySequence());
QMenu *subMenu(QMenuBar *bar, const QString &caption);
QMenu *subMenu(QMenu *menu, const QString &caption);

// The choice "显示位数" (design name "digits"): "15 位" (the display of the section
// screens) or "4 位有效数字"; its caption label beside it.
QComboBox *digitsChoice();
// The digits a choice gives (15 or 4), and the choice for them.
int digitsOf(const QComboBox *choice);
void setDigits(QComboBox *choice, int digits);

// Deselects option buttons by program, without running any click handler.
void deselect(std::initializer_list<QRadioButton *> options);

// Writes a label only when its text changes, so unchanged results cost no relayout.
void setText(QLabel *label, const QString &text);

// A result whose inputs changed since it was written: the dynamic property
// "stale", drawn in the disabled text colour.
void setStale(QLabel *label, bool stale);
// A cell of a table's chosen row: the dynamic property "chosen", drawn in the highlight colours.
void setChosen(QLabel *label, bool chosen);
// A chosen cell whose row misses its allowance (excess says by how much, as its
// tooltip): the dynamic property "overAllowance", drawn in the warning colour
// instead of the highlight. An empty excess clears it.
void setOverAllowance(QLabel *label, const QString &excess);

// A text box for a number, followed as its text changes: when the leading-number
// rule does not read the whole text ("12 000", "2500kPa"), the dynamic property
// "readAs" holds the number read ("12"), the box is shaded and its tooltip says
// "读作 12". Read whole or empty: no mark and no "readAs".
void watchReading(QLineEdit *box);
// A text box whose value cannot be used: the dynamic property "problem", shaded red
// with the problem in its tooltip. An empty problem clears it.
void setProblem(QLineEdit *box, const QString &problem);

// The colours of the marks: a choice that misses its allowance, a number not read
// whole, a value that cannot be used.
extern const QColor kWarningColor;
extern const QColor kReadAsColor;
extern const QColor kProblemColor;

} // namespace toolkit
