// The design file, the report and the CSV export as a user meets them.
#include "batch.h"
#include "calculation_screen.h"
#include "design_file.h"
#include "file_dialog.h"
#include "formula_reference.h"
#include "gui_test.h"
#include "message_box.h"
#include "project_dialog.h"
#include "route/route_model.h"
#include "route/route_screen.h"
#include "shell.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every text, option and check box of every screen that exists, by screen and design name.
QMap<QString, QString> snapshot(Shell &shell)
{
    QMap<QString, QString> state;
    for (const QString &code : QStringList{"xd", "gyxd", "fxgj", "ll", "lll", "yl", "yt", "jb", "bh", "gw"}) {
        QWidget *screen = shell.screen(code);
        if (!screen)
            continue;
        for (const QLineEdit *box : screen->findChildren<QLineEdit *>())
            state.insert(code + u'/' + box->objectName(), box->text());
        for (const QAbstractButton *b : screen->findChildren<QAbstractButton *>()) {
            if (b->isCheckable())
                state.insert(code + u'/' + b->objectName(), b->isChecked() ? "1" : "0");
        }
        for (const QLabel *l : screen->findChildren<QLabel *>())
            state.insert(code + u'/' + l->objectName() + "#text", l->text());
        if (auto *gw = qobject_cast<RouteScreen *>(screen))
            state.insert(code + "/sections", QString::number(gw->model()->sections().size()));
    }
    return state;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of a PDF as pdftotext gives it, NFKC-normalised with blanks removed; empty without pdftotext.
QString pdfText(const QString &path)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    QString text = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

QString squeezed(QString text)
{
    return text.normalized(QString::NormalizationForm_KC).remove(QRegularExpression(QStringLiteral("\\s")));
}

} // namespace

class DesignTest : public QObject
{
    Q_OBJECT

private slots:
    void theSameDesignGivesTheSameBytes()
    {
        const design::Design d = design::initial();
        QCOMPARE(design::write(d), design::write(design::initial()));
        const design::Read back = design::read(design::write(d));
        QVERIFY2(back.ok(), qPrintable(back.error));
        QCOMPARE(design::write(back.design), design::write(d));
        QVERIFY(design::write(d).contains("\n    \"format\": \"velmora-design\""));
    }

    void refusals_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "不是有效的JSON";
        QTest::newRow("an array") << QByteArray("[]") << "顶层不是对象";
        QTest::newRow("another format") << QByteArray("{\"format\": \"other\", \"version\": 1, \"screens\": {}}")
                                        << "format 不是“velmora-design”";
        QTest::newRow("a newer version") << QByteArray(
            "{\"format\": \"velmora-design\", \"version\": 2, \"screens\": {}}")
                                         << "版本2比本程序新";
        QTest::newRow("no version") << QByteArray("{\"format\": \"velmora-design\", \"screens\": {}}") << "版本无效";
        QTest::newRow("unknown screen") << QByteArray(
            "{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"zz\": {}}}")
                                        << "未知的界面“zz”";
        QTest::newRow("unknown control") << QByteArray(
            "{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"yl\": {\"Text9\": \"1\"}}}")
                                         << "界面“yl”没有控件“Text9”";
        QTest::newRow("a number for a text")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"yl\": {\"Text1\": 2500}}}")
            << "“yl/Text1”应为文本";
        QTest::newRow("a text for an option") << QByteArray(
            "{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"xd\": {\"Option2\": \"yes\"}}}")
                                              << "“xd/Option2”应为 true 或 false";
        QTest::newRow("a section of six cells")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"gw\": {\"sections\": "
                          "[[\"1\",\"2\",\"3\",\"4\",\"5\",\"6\"]]}}}")
            << "至多5个文本";
        QTest::newRow("over 64 MiB")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {}, \"x\": \"")
                + QByteArray(design::kMaxSize, 'a') + QByteArray("\"}")
            << "大于64 MiB";
        QTest::newRow("an unknown key in the project block")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {}, "
                          "\"project\": {\"name\": \"x\", \"owner\": \"y\"}}")
            << "未知的项“project/owner”";
        QTest::newRow("a number in the project block")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {}, "
                          "\"project\": {\"date\": 20260318}}")
            << "“project/date”应为文本";
        QTest::newRow("a node of nine cells")
            << QByteArray("{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\"gwjs\": {\"nodes\": "
                          "[[\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"]]}}}")
            << "至多8个文本";
    }

    void refusals()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, problem);
        const design::Read r = design::read(content);
        QVERIFY2(r.error.contains(problem), qPrintable(r.error));
        QVERIFY(r.design.screens.isEmpty());

        // On the screens: a message naming the file and the problem, and nothing changed.
        Session session;
        QWidget *yl = session.openFromMenu("Command3");
        typeFields(yl, {"2500", "1500", "400"});
        session.calculate(yl);
        const QMap<QString, QString> before = snapshot(*session.shell);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("坏的.velmora"));
        writeFile(path, content);
        QVERIFY(!session.shell->openDesign(path));
        const QStringList messages = session.messages.take();
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.front().contains(QStringLiteral("坏的.velmora")) && messages.front().contains(problem),
                 qPrintable(messages.front()));
        QCOMPARE(snapshot(*session.shell), before);
    }

    void saveThenOpenGivesEveryTextBack()
    {
        Session session;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("设计.velmora"));
        const QString longText = QString(10000, u'7');
        QWidget *yl = session.openFromMenu("Command3");
        typeInto(yl, "Text1", QStringLiteral("2500kPa"));
        typeInto(yl, "Text2", QStringLiteral("  1500 "));
        typeInto(yl, "Text3", QStringLiteral("管长四百"));
        session.calculate(yl);
        clickOn(yl, "Command2");
        QWidget *xd = session.openFromMenu("Command5");
        perform(xd,
                {"Option3", "Check1", "Option5", "Text6=90", "Text2=100", "Text3=1.5E-5", "Text4=288", "Text5=0.72"});
        typeInto(xd, "Text1", longText);
        session.calculate(xd);
        clickOn(xd, "Command4");
        QWidget *xz = session.shell->screen(QStringLiteral("xz"));
        chooseMenuItem(xz, QStringLiteral("管网水力计算表"));
        auto *gw = qobject_cast<RouteScreen *>(session.shell->screen(QStringLiteral("gw")));
        gw->paste(QStringLiteral("甲\t100\t50\t0\t\n乙\t80\t40\t10\t100\n"));
        typeInto(gw, "density", QStringLiteral("0.72"));
        const QMap<QString, QString> saved = snapshot(*session.shell);

        QVERIFY(session.shell->saveDesign(path));
        const QByteArray first = readFile(path);
        QVERIFY(session.shell->saveDesign(path));
        QCOMPARE(readFile(path), first);
        QVERIFY(first.contains("\"Text1\": \"2500kPa\""));

        // Everything changed, then the design opened again.
        typeInto(yl, "Text1", QStringLiteral("1"));
        perform(xd, {"Option1", "Check1", "Text2=5"});
        gw->deleteSections();
        QVERIFY(session.shell->openDesign(path));
        QCOMPARE(session.messages.take(), QStringList());
        const QMap<QString, QString> opened = snapshot(*session.shell);
        for (auto it = saved.begin(); it != saved.end(); ++it) {
            if (it.key().endsWith(u"#text") && !it.key().startsWith(u"gw/"))
                continue; // result labels start fresh
            QCOMPARE(opened.value(it.key()), it.value());
        }
        // The results are those of a fresh screen: nothing shown, the banner back over the table.
        QCOMPARE(textOf(yl, "Label5"), QString());
        QCOMPARE(textOf(xd, "Label87"), QString());
        QVERIFY(shown(xd, "Frame7"));
        QVERIFY(enabled(xd, "Text6") && !enabled(xd, "Text1"));
        QCOMPARE(boxText(xd, "Text1"), longText);
    }

    // "打开设计..." over work typed since the last save asks first; refused, it keeps
    // everything. The report's print dialog proposes a PDF beside the design.
    void openingOverUnsavedWorkAsksFirst()
    {
        Session session;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("设计.velmora"));
        writeFile(path, design::write(design::initial()));
        QStringList asked;
        bool answer = false;
        setQuestionHandler([&](const QString &question) {
            asked << question;
            return answer;
        });
        setFileDialogHandler([&](const FileDialogRequest &) { return path; });
        // Screens opened but nothing typed: nothing to lose.
        QWidget *xd = session.openFromMenu("Command5");
        clickOn(xd, "Command4");
        QWidget *yl = session.openFromMenu("Command3");
        QWidget *xz = session.shell->screen(QStringLiteral("xz"));
        chooseMenuItem(xz, QStringLiteral("打开设计..."));
        QCOMPARE(asked, QStringList());

        typeInto(yl, "Text1", QStringLiteral("2500"));
        QVERIFY(session.shell->saveDesign(path));
        chooseMenuItem(xz, QStringLiteral("打开设计..."));
        QCOMPARE(asked, QStringList());

        typeInto(yl, "Text1", QStringLiteral("9"));
        chooseMenuItem(xz, QStringLiteral("打开设计..."));
        QCOMPARE(asked, QStringList{QStringLiteral("当前设计尚未保存，仍要打开吗？")});
        QCOMPARE(boxText(yl, "Text1"), QStringLiteral("9"));
        answer = true;
        chooseMenuItem(xz, QStringLiteral("打开设计..."));
        QCOMPARE(boxText(yl, "Text1"), QStringLiteral("2500"));
        setQuestionHandler({});

        QString proposed;
        setPrintPreviewHandler([&](const PrintPreviewRequest &request, const auto &) { proposed = request.pdfFile; });
        chooseMenuItem(xz, QStringLiteral("计算书..."));
        QCOMPARE(proposed, dir.filePath(QStringLiteral("设计.pdf")));
    }

    // 退出 over work typed since the last save asks first and, refused, keeps it; Ctrl+S on
    // a work screen saves to the design's file, asking for a file only the first time.
    void quittingAsksBeforeLosingWorkAndCtrlSSaves()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("设计.velmora"));
        const QString question = QStringLiteral("当前设计尚未保存，仍要退出吗？");
        {
            Session session;
            QStringList asked, dialogs;
            setQuestionHandler([&](const QString &q) {
                asked << q;
                return false;
            });
            setFileDialogHandler([&](const FileDialogRequest &request) {
                dialogs << request.caption;
                return path;
            });
            QWidget *yl = session.openFromMenu("Command3");
            typeInto(yl, "Text1", QStringLiteral("2500"));
            clickOn(yl, "Command2");
            QWidget *xz = session.shell->screen(QStringLiteral("xz"));
            chooseMenuItem(xz, QStringLiteral("退出"));
            xz->close();
            QCOMPARE(asked, (QStringList{question, question}));
            QVERIFY(!session.shell->ended());
            QCOMPARE(session.visibleScreens(), QStringLiteral("xz"));

            yl = session.openFromMenu("Command3");
            QApplication::setActiveWindow(yl);
            QTest::keyClick(yl, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(dialogs, QStringList{QStringLiteral("保存设计")});
            QVERIFY(readFile(path).contains("\"Text1\": \"2500\""));
            typeInto(yl, "Text1", QStringLiteral("9"));
            QTest::keyClick(yl, Qt::Key_S, Qt::ControlModifier);
            QCOMPARE(dialogs.size(), 1);
            QVERIFY(readFile(path).contains("\"Text1\": \"9\""));

            // Saved: it quits at once.
            chooseMenuItem(xz, QStringLiteral("退出"));
            QCOMPARE(asked.size(), 2);
            QVERIFY(session.shell->ended());
        }
        {
            // Asked and answered yes, it quits without saving.
            Session session;
            setQuestionHandler([](const QString &) { return true; });
            QWidget *yl = session.openFromMenu("Command3");
            typeInto(yl, "Text1", QStringLiteral("1"));
            chooseMenuItem(session.shell->screen(QStringLiteral("xz")), QStringLiteral("退出"));
            QVERIFY(session.shell->ended());
            QVERIFY(readFile(path).contains("\"Text1\": \"9\""));
        }
    }

    // The project block is typed once, counts as work, is kept in the design file and
    // printed on the report's first page, from the screens and from the command line.
    void theProjectBlockIsKeptAndPrinted()
    {
        Session session;
        QTemporaryDir dir;
        const design::Project project{QStringLiteral("滨江花园燃气工程"), QStringLiteral("张三"),
                                      QStringLiteral("李四"), QStringLiteral("王五"), QStringLiteral("2026-03-18")};
        design::Project offered;
        offered.name = QStringLiteral("x");
        setProjectDialogHandler([&](const design::Project &current) {
            offered = current;
            return std::optional<design::Project>(project);
        });
        QWidget *xz = session.login();
        QWidget *yl = session.openFromMenu("Command3");
        typeFields(yl, {"2500", "1500", "400"});
        const QString path = dir.filePath(QStringLiteral("设计.velmora"));
        QVERIFY(session.shell->saveDesign(path));
        QVERIFY(!session.shell->hasUnsavedWork());
        chooseMenuItem(xz, QStringLiteral("项目信息..."));
        QCOMPARE(offered, design::Project{});
        QCOMPARE(session.shell->project(), project);
        QVERIFY(session.shell->hasUnsavedWork());
        QVERIFY(session.shell->saveDesign(path));
        const QByteArray bytes = readFile(path);
        QVERIFY(bytes.contains("\"designer\": \"张三\""));
        QCOMPARE(design::read(bytes).design.project, project);
        // A design kept without it opens with the fields empty.
        QCOMPARE(design::read(design::write(design::initial())).design.project, design::Project{});
        QVERIFY(!design::write(design::initial()).contains("project"));

        const QString pdf = dir.filePath(QStringLiteral("计算书.pdf"));
        const QString fromTheCommandLine = dir.filePath(QStringLiteral("同.pdf"));
        QVERIFY(session.shell->writeReport(pdf));
        QCOMPARE(runBatch({QStringLiteral("report"), path, fromTheCommandLine}, [] { return QByteArray(); }).status, 0);
        for (const QString &file : {pdf, fromTheCommandLine}) {
            const QString text = pdfText(file);
            if (text.isEmpty())
                QSKIP("pdftotext is not installed");
            // pdftotext reads a table's columns in an order of its own: each caption and text on its own.
            for (const design::ProjectField &f : design::projectFields()) {
                QVERIFY2(text.contains(QString::fromUtf8(f.caption)) && text.contains(project.*(f.text)), f.key);
            }
            // Before the first calculation: on the first page.
            QVERIFY(text.indexOf(project.name) < text.indexOf(QStringLiteral("录入数据")));
        }
    }

    void aSaveThatCannotBeWrittenLeavesTheOldFile()
    {
        Session session;
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("只读/设计.velmora"));
        QDir().mkpath(QFileInfo(path).path());
        writeFile(path, "old design");
        QFile::setPermissions(QFileInfo(path).path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        // Root writes into any folder: then a file no one may replace stands in for it.
        if (QFileInfo(QFileInfo(path).path()).isWritable())
            path = QStringLiteral("/proc/version");
        const QByteArray before = readFile(path);
        QVERIFY(!session.shell->saveDesign(path));
        QCOMPARE(readFile(path), before);
        const QStringList messages = session.messages.take();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().startsWith(QStringLiteral("无法保存设计“%1”：").arg(QFileInfo(path).fileName())));
        QFile::setPermissions(QFileInfo(dir.filePath(QStringLiteral("只读/x"))).path(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void theReportHoldsWhatIsTyped()
    {
        Session session;
        QTemporaryDir dir;
        QWidget *xd = session.openFromMenu("Command5");
        perform(xd, kLowPressureCase + QStringList{"Check1", "Option4", "Text1=0.5"});
        session.calculate(xd);
        clickOn(xd, "Command4");
        QWidget *fxgj = session.openFromMenu("Command4");
        typeFields(fxgj, {"0.0001", "1000", "0.000015", "0.7", "288"});
        const QStringList fxgjMessages = session.calculate(fxgj);
        clickOn(fxgj, "Command2");
        QWidget *yl = session.openFromMenu("Command3");
        typeFields(yl, {"2500kPa", "1500", "400"});
        session.calculate(yl);
        typeInto(yl, "Text3", QStringLiteral("500")); // not pressed again: reported as typed

        const QString pdf = dir.filePath(QStringLiteral("计算书.pdf"));
        QVERIFY(session.shell->writeReport(pdf));
        const QString text = pdfText(pdf);
        if (text.isEmpty())
            QSKIP("pdftotext is not installed");
        QStringList expected{QStringLiteral("低压管段水力计算"),
                             QStringLiteral("计算流量："),
                             QStringLiteral("允许单位压力降(Pa/m)："),
                             QStringLiteral("预选管径(mm):"),
                             textOf(xd, "Label86"),
                             QStringLiteral("校验低压层流管段管径"),
                             textOf(fxgj, "Label1"),
                             textOf(fxgj, "Label7"),
                             QStringLiteral("π=3.14159")};
        for (const QList<QString> &row : kLowPressureTable)
            expected << row;
        expected += fxgjMessages;
        for (const QString &e : expected)
            QVERIFY2(text.contains(squeezed(e)), qPrintable(e));
        // The given diameter does not count while pre-selecting: it is left out.
        QVERIFY(!text.contains(squeezed(QStringLiteral("录入管径(mm):"))));
        // Calculated from what is typed, whether or not "计算" was pressed since.
        QVERIFY(!text.contains(squeezed(QStringLiteral("允许单位压力降(Pa/m)：2.5"))));
        const QString sameFromTheCommandLine = dir.filePath(QStringLiteral("同.pdf"));
        const QString designPath = dir.filePath(QStringLiteral("d.velmora"));
        QVERIFY(session.shell->saveDesign(designPath));
        QVERIFY(session.shell->writeReport(pdf));
        QCOMPARE(runBatch({QStringLiteral("report"), designPath, sameFromTheCommandLine}, [] { return QByteArray(); })
                     .status,
                 0);
        // The same pages but for the time in the header.
        auto withoutTime = [](QString t) {
            return t.remove(QRegularExpression(QStringLiteral("\\d{4}-\\d{2}-\\d{2}\\d{2}:\\d{2}")));
        };
        QCOMPARE(withoutTime(pdfText(pdf)), withoutTime(pdfText(sameFromTheCommandLine)));
    }

    void theCommandLineReportsADesign()
    {
        QTemporaryDir dir;
        const QString design = dir.filePath(QStringLiteral("d.velmora"));
        writeFile(design,
                  "{\"format\": \"velmora-design\", \"version\": 1, \"screens\": {\n"
                  "            \"yl\": {\"Text1\": \"2500kPa\", \"Text2\": \"1500\", \"Text3\": \"400\"},\n"
                  "            \"gw\": {\"density\": \"0.72\", \"viscosity\": \"1.5E-5\", \"temperature\": \"288\", "
                  "\"allowableDrop\": \"400\",\n"
                  "                   \"sections\": [[\"1\", \"100\", \"50\", \"0\", \"\"]]}}}");
        const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
        BatchRun run = runBatch({QStringLiteral("report"), design, pdf}, [] { return QByteArray(); });
        QCOMPARE(run.status, 0);
        QVERIFY(QFile::exists(pdf));
        const QString text = pdfText(pdf);
        if (!text.isEmpty()) {
            QVERIFY(text.contains(squeezed(QStringLiteral("2500kPa"))));
            QVERIFY(text.contains(squeezed(QStringLiteral("管网水力计算表"))));
            QVERIFY(text.contains(squeezed(QStringLiteral("d.velmora"))));
        }

        // A bad design: exit 2, one line, and the PDF as it was.
        const QByteArray before = readFile(pdf);
        writeFile(design, "{\"format\": \"velmora-design\", \"version\": 9, \"screens\": {}}");
        run = runBatch({QStringLiteral("report"), design, pdf}, [] { return QByteArray(); });
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        QVERIFY(QString::fromUtf8(run.error).contains(QStringLiteral("版本9比本程序新")));
        QCOMPARE(readFile(pdf), before);
        const QString other = dir.filePath(QStringLiteral("none.pdf"));
        QCOMPARE(runBatch({QStringLiteral("report"), design, other}, [] { return QByteArray(); }).status, 2);
        QVERIFY(!QFile::exists(other));
    }

    void csvExportOfAScreen()
    {
        Session session;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("xd.csv"));
        setFileDialogHandler([&](const FileDialogRequest &) { return path; });
        QWidget *xd = session.openFromMenu("Command5");
        perform(xd, kLowPressureCase + QStringList{"Check1", "Option4", "Text1=0.5"});
        session.calculate(xd);
        QTest::keyClick(xd, Qt::Key_E, Qt::ControlModifier);
        const QByteArray bytes = readFile(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(bytes.mid(3));
        QVERIFY(text.contains(QStringLiteral("录入,计算流量：,10,Nm^3/h")));
        QVERIFY(text.contains(QStringLiteral("选项,选择管材,钢管,")));
        QVERIFY(text.contains(QStringLiteral("结果,预选管径(mm):,%1,mm").arg(textOf(xd, "Label86"))));
        QVERIFY(text.contains(kLowPressureTable.back().join(u',')));
    }

    void theFormulaReferenceComesFromTheDescriptions()
    {
        Session session;
        QWidget *xz = session.login();
        chooseMenuItem(xz, QStringLiteral("公式说明"));
        QWidget *reference = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (w->objectName() == u"formulaReference" && w->isVisible())
                reference = w;
        }
        QVERIFY(reference);
        const QString html = FormulaReference::html();
        for (const calc::Calculation &c : calc::all()) {
            QVERIFY(html.contains(c.title));
            for (const QString &constant : c.constants)
                QVERIFY2(html.contains(constant.toHtmlEscaped()), qPrintable(constant));
        }
        QVERIFY(html.contains(QStringLiteral("200 ≤ N &lt; 200")) == false);
        QVERIFY(html.contains(QStringLiteral("N = 200：k = 0.16")));
        QVERIFY(html.contains(QStringLiteral("ρa = 1.293")));
        reference->close();
    }
};

QTEST_MAIN(DesignTest)
#include "tst_design.moc"
