#include "gui_test.h"

#include "file_dialog.h"

#include "message_box.h"
#include "project_dialog.h"
#include "shell.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

const QString kNotPositive = QStringLiteral("录入数据不能为0或小于0,嘿嘿");
const QString kOutOfRange = QStringLiteral("录入数据超出计算范围,嘿嘿");

QStringList messageList(const QString &message)
{
    return message.isEmpty() ? QStringList() : QStringList{message};
}

MessageRecorder::MessageRecorder()
    : m_messages(std::make_shared<QStringList>())
{
    auto messages = m_messages;
    setMessageHandler([messages](const QString &text) { messages->append(text); });
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler({});
}

QStringList MessageRecorder::take()
{
    QStringList taken;
    taken.swap(*m_messages);
    return taken;
}

Session::Session()
    : shell(std::make_unique<Shell>())
{
    // No test waits on a modal window: file dialogs and the project dialog are cancelled and
    // print previews not shown, unless a test says otherwise.
    setFileDialogHandler([](const FileDialogRequest &) { return QString(); });
    setPrintPreviewHandler([](const PrintPreviewRequest &, const std::function<void(QPagedPaintDevice *)> &) {});
    setQuestionHandler([](const QString &) { return false; });
    setProjectDialogHandler([](const design::Project &) { return std::optional<design::Project>(); });
    shell->start();
}

Session::~Session()
{
    setFileDialogHandler({});
    setPrintPreviewHandler({});
    setQuestionHandler({});
    setProjectDialogHandler({});
}

QWidget *Session::login()
{
    QWidget *hy = shell->screen(QStringLiteral("hy"));
    typeInto(hy, "Text1", QStringLiteral("wmk"));
    typeInto(hy, "Text2", QStringLiteral("862047"));
    clickOn(hy, "Command1");
    return shell->screen(QStringLiteral("xz"));
}

QWidget *Session::openFromMenu(const char *menuButton)
{
    QWidget *xz = shell->screen(QStringLiteral("xz"));
    if (!xz)
        xz = login();
    clickOn(xz, menuButton);
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w != xz && !w->objectName().isEmpty())
            return QTest::qWaitForWindowExposed(w) ? w : nullptr;
    }
    return nullptr;
}

QStringList Session::calculate(QWidget *screen)
{
    clickOn(screen, "Command1");
    return messages.take();
}

QString Session::visibleScreens() const
{
    QStringList codes;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            codes << w->objectName();
    }
    codes.sort();
    return codes.join(QLatin1Char(','));
}

void typeInto(QWidget *screen, const char *textBox, const QString &text)
{
    auto *box = screen->findChild<QLineEdit *>(QString::fromUtf8(textBox));
    QVERIFY2(box, textBox);
    bool plain = true;
    for (QChar c : text)
        plain = plain && c.unicode() >= 0x20 && c.unicode() < 0x7f;
    if (plain && text.size() <= 200) {
        box->selectAll();
        box->del();
        QTest::keyClicks(box, text);
    } else {
        box->setText(text);
    }
    QCOMPARE(box->text(), text);
}

void typeFields(QWidget *screen, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i)
        typeInto(screen, QByteArray("Text" + QByteArray::number(i + 1)).constData(), texts[i]);
}

void clickOn(QWidget *screen, const char *control)
{
    auto *button = screen->findChild<QAbstractButton *>(QString::fromUtf8(control));
    QVERIFY2(button, control);
    QVERIFY2(button->isEnabled(), control);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2));
}

void perform(QWidget *screen, const QStringList &steps)
{
    for (const QString &step : steps) {
        const qsizetype equals = step.indexOf(u'=');
        if (equals < 0)
            clickOn(screen, step.toUtf8().constData());
        else
            typeInto(screen, step.left(equals).toUtf8().constData(), step.mid(equals + 1));
    }
}

void chooseMenuItem(QWidget *screen, const QString &caption)
{
    auto *action = screen->findChild<QAction *>(caption);
    QVERIFY2(action, qPrintable(caption));
    action->trigger();
}

QString textOf(QWidget *screen, const char *label)
{
    auto *l = screen->findChild<QLabel *>(QString::fromUtf8(label));
    if (!l)
        return QStringLiteral("<no label %1>").arg(QString::fromUtf8(label));
    return l->text();
}

QStringList textsOf(QWidget *screen, const QStringList &labels)
{
    QStringList texts;
    for (const QString &label : labels)
        texts << textOf(screen, label.toUtf8().constData());
    return texts;
}

QString boxText(QWidget *screen, const char *textBox)
{
    auto *box = screen->findChild<QLineEdit *>(QString::fromUtf8(textBox));
    return box ? box->text() : QStringLiteral("<no text box %1>").arg(QString::fromUtf8(textBox));
}

QString captionOf(QWidget *screen, const QString &control)
{
    QWidget *w = screen->findChild<QWidget *>(control);
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *f = qobject_cast<QGroupBox *>(w))
        return f->title();
    return QStringLiteral("<no caption of %1>").arg(control);
}

bool shown(QWidget *screen, const char *control)
{
    auto *w = screen->findChild<QWidget *>(QString::fromUtf8(control));
    return w && w->isVisibleTo(screen);
}

QString shownOf(QWidget *screen, const QStringList &controls)
{
    QStringList names;
    for (const QString &control : controls) {
        if (shown(screen, control.toUtf8().constData()))
            names << control;
    }
    return names.join(u' ');
}

bool checked(QWidget *screen, const char *button)
{
    auto *b = screen->findChild<QAbstractButton *>(QString::fromUtf8(button));
    if (!b)
        QTest::qFail(button, __FILE__, __LINE__);
    return b && b->isChecked();
}

bool enabled(QWidget *screen, const char *control)
{
    auto *w = screen->findChild<QWidget *>(QString::fromUtf8(control));
    if (!w)
        QTest::qFail(control, __FILE__, __LINE__);
    return w && w->isEnabled();
}

void addTextRow(const char *name, const QStringList &texts)
{
    QTestData &row = QTest::newRow(name);
    for (const QString &text : texts)
        row << text;
}

void addCalculationColumns()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");
}

void addCalculation(const char *name, const QStringList &inputs, const QString &result, const QStringList &options)
{
    QTest::newRow(name) << inputs << options << result << QString();
}

void addRefusal(const char *name, const QStringList &inputs, const QString &message, const QStringList &options)
{
    QTest::newRow(name) << inputs << options << QString() << message;
}

void checkCalculation(const char *menuButton, const char *resultLabel, const QStringList &workedCase)
{
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, options);
    QFETCH(QString, result);
    QFETCH(QString, message);
    Session s;
    QWidget *screen = s.openFromMenu(menuButton);
    QVERIFY(screen);
    QCOMPARE(textOf(screen, resultLabel), QString());
    typeFields(screen, workedCase);
    QCOMPARE(s.calculate(screen), QStringList());
    const QString worked = textOf(screen, resultLabel);
    QVERIFY(!worked.isEmpty());

    typeFields(screen, inputs);
    perform(screen, options);
    QCOMPARE(s.calculate(screen), messageList(message));
    QCOMPARE(textOf(screen, resultLabel), message.isEmpty() ? result : worked);
}

const char *backButtonOf(const QString &code)
{
    if (code == QLatin1String("xd") || code == QLatin1String("gyxd"))
        return "Command4";
    if (code == QLatin1String("gy") || code == QLatin1String("cs"))
        return "Command1";
    return "Command2";
}

QStringList tabOrder(QWidget *screen, const char *first)
{
    QStringList names;
    if (!QTest::qWaitForWindowActive(screen))
        return {QStringLiteral("<screen not active>")};
    auto *start = screen->findChild<QWidget *>(QString::fromUtf8(first));
    if (!start)
        return {QStringLiteral("<no control %1>").arg(QString::fromUtf8(first))};
    start->setFocus(Qt::OtherFocusReason);
    QWidget *current = QApplication::focusWidget();
    for (int i = 0; current && i < 100; ++i) {
        names << current->objectName();
        QTest::keyClick(current, Qt::Key_Tab);
        current = QApplication::focusWidget();
        if (current == start)
            break;
    }
    return names;
}
