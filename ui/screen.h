#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QString>

#include <initializer_list>
#include <utility>

class QAction;
class QBoxLayout;
class QCheckBox;
class QFormLayout;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

// One window of the program. Screens are created once, hidden when left and
// never destroyed before the program ends; the shell owns them.
class Screen : public QDialog
{
    Q_OBJECT

public:
    enum class Border { Fixed, Sizeable };

    Screen(const QString &code, const QString &caption, Border border = Border::Fixed);

    // Runs once, right after the shell has created the screen.
    virtual void Form_Load() {}

    // Closes the window for good; used only when the program ends.
    void closeForExit();

    // The control with that design name, or nullptr.
    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        return findChild<T *>(name);
    }

signals:
    // The window's own close button was pressed; the shell decides what it means.
    void closeRequested();

public slots:
    // Esc and the close button must never hide a screen behind the shell's back.
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool m_closingForExit = false;
};

// The screen toolkit layer: small builders that give every control its design
// name, so that a screen's constructor reads like the table of its controls.
namespace toolkit {

QLabel *label(const char *name, const QString &text = QString());
// An empty result label whose text the user can select and copy.
QLabel *resultLabel(const char *name);
// A result label of fixed size with room for the widest of the given texts. Writing
// it never clips a number and never changes the layout of its screen, which keeps
// the 19-row tables quick to fill.
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

// The typeface of titles and banners.
QFont heiti(int pointSize = 0);
// Makes the program's font prefer the Simplified Chinese face for Chinese text.
void useSimplifiedChineseFont();
// Under the Fusion style, group box frames are painted without a picture.
void usePaintedFrames();

// The row of "计算" (wide) and the back button.
QBoxLayout *buttonRow(QPushButton *calculate, QPushButton *back);

// A menu bar at the top of the screen; items and menus are named by their captions.
QMenuBar *menuBar(QDialog *screen);
QAction *menuItem(QMenuBar *bar, const QString &caption);
QAction *menuItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut = QKeySequence());
QMenu *subMenu(QMenuBar *bar, const QString &caption);
QMenu *subMenu(QMenu *menu, const QString &caption);

// Deselects option buttons by program, without running any click handler.
void deselect(std::initializer_list<QRadioButton *> options);

// The text of a grid of labels as a spreadsheet pastes it: the cells of a row
// separated by tabs, every row ended by a line feed.
QString tableText(const QList<QList<QLabel *>> &rows);
// Gives a result table the context-menu item "复制表格", which puts tableText(rows)
// on the clipboard. Right-clicking anywhere on the frame, its labels included,
// offers it. The item starts disabled: the screen enables it once it has filled the table.
QAction *copyTableAction(QWidget *frame, const QList<QList<QLabel *>> &rows);

// Writes a label only when its text changes, so unchanged results cost no relayout.
void setText(QLabel *label, const QString &text);

} // namespace toolkit
