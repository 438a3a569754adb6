#include "widgets.h"

#include "appearance.h"
#include "copying.h"
#include "number_text.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

namespace toolkit {

const QColor kWarningColor(0xF5, 0xB0, 0x41);
const QColor kReadAsColor(0xFF, 0xE8, 0xA8);
const QColor kProblemColor(0xFF, 0xCD, 0xCD);

QLabel *label(const char *name, const QString &text)
{
    auto *l = new QLabel(text);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QLabel *resultLabel(const char *name)
{
    QLabel *l = label(name);
    l->setTextFormat(Qt::PlainText);
    offerCopy(l);
    return l;
}

QLabel *resultCell(const char *name, const QStringList &widest)
{
    QLabel *l = resultLabel(name);
    QSize room;
    for (const QString &text : widest) {
        l->setText(text);
        room = room.expandedTo(l->sizeHint());
    }
    l->clear();
    l->setFixedSize(room);
    return l;
}

QStringList widestNumbers()
{
    return {QStringLiteral("-8.88888888888888E-308"), QStringLiteral("-0.000888888888888888")};
}

QLineEdit *textBox(const char *name)
{
    auto *t = new QLineEdit;
    t->setObjectName(QString::fromUtf8(name));
    return t;
}

QPushButton *commandButton(const char *name, const QString &text)
{
    auto *b = new QPushButton(text);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QRadioButton *optionButton(const char *name, const QString &text)
{
    auto *o = new QRadioButton(text);
    o->setObjectName(QString::fromUtf8(name));
    return o;
}

QCheckBox *checkBox(const char *name, const QString &text)
{
    auto *c = new QCheckBox(text);
    c->setObjectName(QString::fromUtf8(name));
    return c;
}

QGroupBox *frame(const char *name, const QString &caption)
{
    auto *f = new QGroupBox(caption);
    f->setObjectName(QString::fromUtf8(name));
    return f;
}

QLineEdit *addField(QGridLayout *grid, int row, const char *captionName, const QString &caption, const char *textName,
                    int column)
{
    QLabel *c = label(captionName, caption);
    QLineEdit *t = textBox(textName);
    c->setBuddy(t);
    grid->addWidget(c, row, column);
    grid->addWidget(t, row, column + 1);
    return t;
}

QLineEdit *addFieldWithUnit(QGridLayout *grid, int row, const char *captionName, const QString &caption,
                            const char *unitName, const QString &unit, const char *textName, int column)
{
    QLineEdit *t = addField(grid, row, captionName, caption, textName, column);
    grid->addWidget(label(unitName, unit), row + 1, column);
    return t;
}

QLineEdit *addOptionField(QGridLayout *grid, int row, QRadioButton *option, const char *captionName,
                          const QString &caption, const char *textName)
{
    grid->addWidget(option, row, 0);
    QLineEdit *t = addField(grid, row, captionName, caption, textName, 1);
    option->setAccessibleName(caption);
    return t;
}

QLabel *addResult(QGridLayout *grid, int row, const char *captionName, const QString &caption, const char *resultName,
                  int column)
{
    grid->addWidget(label(captionName, caption), row, column);
    QLabel *r = resultLabel(resultName);
    grid->addWidget(r, row, column + 1);
    return r;
}

QGroupBox *optionGroup(const QString &frameName, const QString &caption, const QList<Option> &options,
                       Qt::Orientation orientation)
{
    QGroupBox *f = frame(frameName.toLatin1().constData(), caption);
    auto *box = new QBoxLayout(orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, f);
    for (const Option &o : options)
        box->addWidget(optionButton(o.name.toLatin1().constData(), o.text));
    return f;
}

QGroupBox *banner(const char *frameName, const char *labelName, Qt::Orientation orientation)
{
    QGroupBox *f = frame(frameName);
    auto *box = new QVBoxLayout(f);
    QLabel *l = label(labelName, QStringLiteral("Orvane"));
    l->setFont(heiti());
    l->setAlignment(Qt::AlignCenter);
    if (orientation == Qt::Vertical) {
        // One character per line, so the banner runs downwards.
        l->setText(QStringLiteral("O\nr\nv\na\nn\ne"));
        l->setAccessibleName(QStringLiteral("Orvane"));
    }
    box->addWidget(l);
    return f;
}

QBoxLayout *buttonRow(QPushButton *calculate, QPushButton *back)
{
    auto *row = new QHBoxLayout;
    row->addWidget(calculate, 3);
    row->addWidget(back, 1);
    return row;
}

QMenuBar *menuBar(QDialog *screen)
{
    auto *bar = new QMenuBar(screen);
    bar->setObjectName(QStringLiteral("menuBar"));
    bar->setNativeMenuBar(false);
    if (screen->layout())
        screen->layout()->setMenuBar(bar);
    return bar;
}

QAction *menuItem(QMenuBar *bar, const QString &caption)
{
    QAction *a = bar->addAction(caption);
    a->setObjectName(caption);
    return a;
}

QAction *menuItem(QMenu *menu, const QString &caption, const QKeySequence &shortcut)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(caption);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

QMenu *subMenu(QMenuBar *bar, const QString &caption)
{
    QMenu *m = bar->addMenu(caption);
    m->setObjectName(caption);
    return m;
}

QMenu *subMenu(QMenu *menu, const QString &caption)
{
    QMenu *m = menu->addMenu(caption);
    m->setObjectName(caption);
    return m;
}

void deselect(std::initializer_list<QRadioButton *> options)
{
    for (QRadioButton *o : options) {
        const QSignalBlocker blocker(o);
        const bool exclusive = o->autoExclusive();
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(exclusive);
    }
}

void setText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

namespace {

// Chosen wins over out of date: a chosen row is always current. A chosen row that
// misses its allowance is drawn in the warning colour instead of the highlight.
void showMarks(QLabel *label)
{
    const bool chosen = label->property("chosen").toBool();
    const bool stale = label->property("stale").toBool();
    const bool over = chosen && label->property("overAllowance").toBool();
    label->setAutoFillBackground(chosen);
    label->setBackgroundRole(chosen ? QPalette::Highlight : QPalette::Window);
    label->setForegroundRole(chosen ? QPalette::HighlightedText : QPalette::WindowText);
    // Only the colours named are set; every other colour, and all of them when
    // plain, still come from the label's parent.
    QPalette palette;
    if (stale && !chosen) {
        const QColor muted = label->palette().color(QPalette::Disabled, QPalette::WindowText);
        palette.setColor(QPalette::Active, QPalette::WindowText, muted);
        palette.setColor(QPalette::Inactive, QPalette::WindowText, muted);
    }
    if (over) {
        palette.setColor(QPalette::Highlight, kWarningColor);
        palette.setColor(QPalette::HighlightedText, Qt::black);
    }
    label->setPalette(palette);
}

// A text box's marks: a problem (red) and a number not read whole (amber), each
// with its line in the tooltip.
void showMarks(QLineEdit *box)
{
    const QString problem = box->property("problem").toString();
    const QString readAs = box->property("readAs").toString();
    QStringList tips;
    if (!problem.isEmpty())
        tips << problem;
    if (!readAs.isEmpty())
        tips << QStringLiteral("读作 ") + readAs;
    box->setToolTip(tips.join(u'\n'));
    QPalette palette;
    if (!problem.isEmpty() || !readAs.isEmpty())
        palette.setColor(QPalette::Base, problem.isEmpty() ? kReadAsColor : kProblemColor);
    box->setPalette(palette);
}

} // namespace

QComboBox *digitsChoice()
{
    auto *choice = new QComboBox;
    choice->setObjectName(QStringLiteral("digits"));
    choice->addItems({QStringLiteral("15 位"), QStringLiteral("4 位有效数字")});
    choice->setAccessibleName(QStringLiteral("显示位数"));
    return choice;
}

int digitsOf(const QComboBox *choice)
{
    return choice->currentIndex() == 1 ? 4 : 15;
}

void setDigits(QComboBox *choice, int digits)
{
    choice->setCurrentIndex(digits == 4 ? 1 : 0);
}

void setStale(QLabel *label, bool stale)
{
    if (label->property("stale").toBool() == stale)
        return;
    label->setProperty("stale", stale);
    showMarks(label);
}

void setChosen(QLabel *label, bool chosen)
{
    if (label->property("chosen").toBool() == chosen)
        return;
    label->setProperty("chosen", chosen);
    showMarks(label);
}

void setOverAllowance(QLabel *label, const QString &excess)
{
    if (label->property("overAllowance").toBool() == !excess.isEmpty() && label->toolTip() == excess)
        return;
    label->setProperty("overAllowance", !excess.isEmpty());
    label->setToolTip(excess);
    showMarks(label);
}

void watchReading(QLineEdit *box)
{
    auto show = [box] {
        const QString readAs = readAsText(box->text());
        if (box->property("readAs").toString() == readAs)
            return;
        box->setProperty("readAs", readAs.isEmpty() ? QVariant() : QVariant(readAs));
        showMarks(box);
    };
    QObject::connect(box, &QLineEdit::textChanged, box, show);
    show();
}

void setProblem(QLineEdit *box, const QString &problem)
{
    if (box->property("problem").toString() == problem)
        return;
    box->setProperty("problem", problem.isEmpty() ? QVariant() : QVariant(problem));
    showMarks(box);
}

} // namespace toolkit
