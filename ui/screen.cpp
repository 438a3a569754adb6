#include "screen.h"

#include "result_label.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHash>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QStyleFactory>
#include <QStyleOption>

#include <fontconfig/fontconfig.h>

#include <optional>

Screen::Screen(const QString &code, const QString &caption, Border border)
{
    setObjectName(code);
    setWindowTitle(caption);
    if (border == Border::Fixed) {
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    } else {
        setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                       | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    }
}

void Screen::closeForExit()
{
    m_closingForExit = true;
    close();
}

void Screen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    // Enter on a focused button presses it, as Space does; in a text box it does nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto *button = qobject_cast<QPushButton *>(focusWidget());
        if (button && button->isEnabled() && button->isVisible()
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            event->accept();
            button->click();
            return;
        }
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Screen::closeEvent(QCloseEvent *event)
{
    if (!m_closingForExit)
        emit closeRequested();
    // The shell may have ended the program in answer, closing this screen too.
    if (m_closingForExit)
        event->accept();
    else
        event->ignore();
}

// A hidden screen gives its window back to the window system, and with it the
// picture of its contents: a megabyte or two for a large screen, kept for every
// screen visited. Showing the screen again makes a new window; the widgets, their
// texts and the focus stay as they were.
void Screen::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isHidden())
                return;
            // The new window goes where this one was, frame and all.
            const QPoint at = pos();
            destroy();
            move(at);
        },
        Qt::QueuedConnection);
}

namespace toolkit {

QLabel *label(const char *name, const QString &text)
{
    auto *l = new QLabel(text);
    l->setObjectName(QString::fromUtf8(name));
    return l;
}

QLabel *resultLabel(const char *name)
{
    return new ResultLabel(QString::fromUtf8(name));
}

QLabel *resultCell(const char *name, const QStringList &widest)
{
    QLabel *l = resultLabel(name);
    // Sizing a selectable label lays out a text document, and a table has dozens
    // of cells that start alike: each list of texts is measured once.
    static QHash<QString, QSize> rooms;
    const QString key = l->font().key() + QString::number(l->logicalDpiY()) + widest.join(QLatin1Char('\n'));
    auto room = rooms.constFind(key);
    if (room == rooms.constEnd()) {
        QSize widestRoom;
        for (const QString &text : widest) {
            l->setText(text);
            widestRoom = widestRoom.expandedTo(l->sizeHint());
        }
        l->clear();
        room = rooms.insert(key, widestRoom);
    }
    l->setFixedSize(*room);
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

namespace {

// The families of a preference list from the first installed one on. Qt skips a
// missing family too, but only after asking fontconfig for its fallbacks, a slow
// look-up on the way to the login screen; the list of installed families is at
// hand (QFontDatabase::hasFamily would ask fontconfig for an alias instead, which
// is as slow).
QStringList installedFrom(const QStringList &wanted)
{
    const QStringList installed = QFontDatabase::families();
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        if (installed.contains(wanted[i], Qt::CaseInsensitive))
            return wanted.mid(i);
    }
    return wanted;
}

// Whether a rule of fontconfig's says to draw an installed family without
// hinting, as a font's package may say for its face (WenQuanYi Micro Hei's
// does); nothing when no font goes by the name (a generic family such as
// "Sans Serif"). Qt 6.4 takes the hint style from fontconfig but passes over
// that rule, and hints such a face regardless. Asked once for each family.
std::optional<bool> unhinted(const QString &family)
{
    static QHash<QString, std::optional<bool>> answers;
    if (const auto it = answers.constFind(family); it != answers.constEnd())
        return *it;
    FcPattern *pattern = FcPatternCreate();
    const QByteArray name = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.constData()));
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, objects);
    std::optional<bool> answer;
    if (fonts && fonts->nfont > 0) {
        answer = false;
        if (FcPattern *drawn = FcFontRenderPrepare(nullptr, pattern, fonts->fonts[0])) {
            FcBool hinting = FcTrue;
            answer = FcPatternGetBool(drawn, FC_HINTING, 0, &hinting) == FcResultMatch && !hinting;
            FcPatternDestroy(drawn);
        }
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    answers.insert(family, answer);
    return answer;
}

} // namespace

QFont heiti(int pointSize)
{
    static const QStringList families
        = installedFrom({QStringLiteral("SimHei"), QStringLiteral("黑体"), QStringLiteral("WenQuanYi Micro Hei"),
                         QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")});
    QFont font;
    font.setFamilies(families);
    if (unhinted(families.constFirst()).value_or(false))
        font.setHintingPreference(QFont::PreferNoHinting);
    if (pointSize > 0)
        font.setPointSize(pointSize);
    return font;
}

void useSimplifiedChineseFont()
{
    // Every text of the program is Simplified Chinese: its characters take a
    // Chinese face, not the face that fontconfig would pick for the user's locale
    // (Japanese forms under an English one). WenQuanYi Micro Hei comes first: the
    // calculation report is set in it too, and it loads and draws faster than
    // the SC face of the CJK collection, whose glyphs Qt blends with gamma
    // correction, pixel by pixel (a table of results repaints at half the cost).
    // The titles' black typeface then is the same face, so no second one is loaded.
    static const QStringList chinese
        = installedFrom({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                         QStringLiteral("WenQuanYi Zen Hei")});
    QFont font = QGuiApplication::font();
    if (font.families().size() > 1)
        return;
    // The platform's family draws the Latin letters and digits when a font goes by
    // its name; a generic family such as "Sans Serif" is passed over in a list, and
    // the Chinese face draws everything. The font is hinted as that face is to be.
    const QString platform = font.family();
    font.setFamilies(QStringList{platform} + chinese);
    const std::optional<bool> platformUnhinted = unhinted(platform);
    if (platformUnhinted ? *platformUnhinted : unhinted(chinese.constFirst()).value_or(false))
        font.setHintingPreference(QFont::PreferNoHinting);
    QGuiApplication::setFont(font);
}

namespace {

// Fusion draws the frame of a group box from a picture in its resources; reading
// the first one makes Qt probe every image-format plugin on the way to the first
// frame of the first screen. This draws its rounded line without it: the straight
// lines as a solid colour mixed over the window's, and only the four corners with
// the painter's antialiasing. (A translucent line the length of a frame would
// have Qt start a pool of threads to blend it, which costs more than the frame on
// the way to the first screen.) Fusion's faint shade inside is left out: result
// labels fill their own background with the window's colour, and over a shade
// each would show as a box.
class PaintedFrames : public QProxyStyle
{
public:
    PaintedFrames()
        : QProxyStyle(QStyleFactory::create(QStringLiteral("fusion")))
    {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_FrameGroupBox) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        constexpr int kTopMargin = 3;
        const auto *box = qobject_cast<const QGroupBox *>(widget);
        const int top = box && !box->isCheckable() && box->title().isEmpty()
            ? kTopMargin
            : std::max(pixelMetric(PM_ExclusiveIndicatorHeight), option->fontMetrics.height()) + kTopMargin;
        const QRect r = option->rect.adjusted(0, top, 0, 0);
        if (r.width() < 2 * kCorner || r.height() < 2 * kCorner)
            return;
        const QColor line = over(option->palette.color(QPalette::Window), kLine);
        const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
        // The line one pixel in from the edge, between the corners.
        painter->fillRect(QRect(x + kCorner, y + 1, w - 2 * kCorner, 1), line);
        painter->fillRect(QRect(x + kCorner, y + h - 2, w - 2 * kCorner, 1), line);
        painter->fillRect(QRect(x + 1, y + kCorner, 1, h - 2 * kCorner), line);
        painter->fillRect(QRect(x + w - 2, y + kCorner, 1, h - 2 * kCorner), line);
        const QPixmap &c = corners(painter->device()->devicePixelRatio());
        painter->drawPixmap(QPoint(x, y), c, QRect(QPoint(0, 0), kCornerSize * c.devicePixelRatio()));
        painter->drawPixmap(QPoint(x + w - kCorner, y), c,
                            QRect(QPoint(kCorner, 0) * c.devicePixelRatio(), kCornerSize * c.devicePixelRatio()));
        painter->drawPixmap(QPoint(x, y + h - kCorner), c,
                            QRect(QPoint(0, kCorner) * c.devicePixelRatio(), kCornerSize * c.devicePixelRatio()));
        painter->drawPixmap(QPoint(x + w - kCorner, y + h - kCorner), c,
                            QRect(QPoint(kCorner, kCorner) * c.devicePixelRatio(), kCornerSize * c.devicePixelRatio()));
    }

private:
    static constexpr int kCorner = 4;
    static constexpr QSize kCornerSize{kCorner, kCorner};
    static constexpr QColor kLine{0x75, 0x75, 0x75, 0x32};

    static QColor over(const QColor &below, const QColor &above)
    {
        const qreal a = above.alphaF();
        return QColor::fromRgbF(float(below.redF() * (1 - a) + above.redF() * a),
                                float(below.greenF() * (1 - a) + above.greenF() * a),
                                float(below.blueF() * (1 - a) + above.blueF() * a));
    }

    // The four rounded corners of a small frame drawn with antialiasing, once for each device pixel ratio.
    const QPixmap &corners(qreal ratio) const
    {
        for (const QPixmap &p : m_corners) {
            if (p.devicePixelRatio() == ratio)
                return p;
        }
        QPixmap p(kCornerSize * 2 * ratio);
        p.setDevicePixelRatio(ratio);
        p.fill(Qt::transparent);
        QPainter painter(&p);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kLine, 1));
        painter.drawRoundedRect(QRectF(0, 0, 2 * kCorner, 2 * kCorner).adjusted(1.5, 1.5, -1.5, -1.5), 2, 2);
        painter.end();
        m_corners.append(p);
        return m_corners.constLast();
    }

    mutable QList<QPixmap> m_corners;
};

} // namespace

void usePaintedFrames()
{
    if (QApplication::style()->name() != u"fusion" || dynamic_cast<PaintedFrames *>(QApplication::style()))
        return;
    QApplication::setStyle(new PaintedFrames);
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

QString tableText(const QList<QList<QLabel *>> &rows)
{
    QString text;
    for (const QList<QLabel *> &row : rows) {
        QStringList cells;
        for (const QLabel *cell : row)
            cells << cell->text();
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

QAction *copyTableAction(QWidget *frame, const QList<QList<QLabel *>> &rows)
{
    auto *action = new QAction(QStringLiteral("复制表格"), frame);
    action->setObjectName(QStringLiteral("复制表格"));
    action->setEnabled(false);
    QObject::connect(action, &QAction::triggered, frame,
                     [rows] { QGuiApplication::clipboard()->setText(tableText(rows)); });
    frame->addAction(action);
    frame->setContextMenuPolicy(Qt::ActionsContextMenu);
    // A right-click on any cell goes on to the frame, so every cell offers the item.
    for (const QList<QLabel *> &row : rows) {
        for (QLabel *cell : row)
            cell->setContextMenuPolicy(Qt::NoContextMenu);
    }
    return action;
}

void setText(QLabel *label, const QString &text)
{
    if (label->text() != text)
        label->setText(text);
}

} // namespace toolkit
