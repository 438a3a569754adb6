// What tells a user at a glance which results are current: out-of-date marks,
// the chosen row of a section table, and Enter on the focused button.
#include "calculation.h"
#include "design_file.h"
#include "gui_test.h"
#include "screen.h"
#include "screen_factory.h"
#include "shell.h"
#include "work_screen.h"
#include "worked_cases.h"

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <memory>

namespace {

const WorkedInputs &worked(const char *code)
{
    for (const WorkedInputs &w : workedInputs()) {
        if (std::strcmp(w.code, code) == 0)
            return w;
    }
    Q_UNREACHABLE();
}

// Opens a screen and presses "计算" on its worked case.
QWidget *calculated(Session &session, const char *code)
{
    const WorkedInputs &w = worked(code);
    QWidget *screen = session.openFromMenu(w.opener);
    if (!screen)
        return nullptr;
    for (const char *click : w.clicks)
        clickOn(screen, click);
    for (const auto &[field, text] : w.fields)
        typeInto(screen, field, QString::fromLatin1(text));
    session.calculate(screen);
    return screen;
}

// The design names of a calculation's result labels and table cells, sorted.
QStringList resultNames(const calc::Calculation &c)
{
    QStringList names;
    for (const calc::Result &r : c.results)
        names << r.design;
    for (const calc::Result &column : c.tableColumns) {
        const int first = column.design.section(QStringLiteral(".."), 0, 0).mid(5).toInt();
        for (int row = 0; row < 19; ++row)
            names << QStringLiteral("Label%1").arg(first + row);
    }
    names.sort();
    return names;
}

QStringList labelsWith(QWidget *screen, const char *property)
{
    QStringList names;
    for (const QLabel *l : screen->findChildren<QLabel *>()) {
        if (l->property(property).toBool())
            names << l->objectName();
    }
    names.sort();
    return names;
}

QMap<QString, QString> labelTexts(QWidget *screen)
{
    QMap<QString, QString> texts;
    for (const QLabel *l : screen->findChildren<QLabel *>())
        texts.insert(l->objectName(), l->text());
    return texts;
}

} // namespace

class ResultMarksTest : public QObject
{
    Q_OBJECT

private slots:
    void aChangedInputMarksExactlyTheResults_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("change");
        for (const WorkedInputs &w : workedInputs()) {
            const QString code = QString::fromLatin1(w.code);
            QTest::addRow("%s: a text", w.code)
                << code << QStringList{QString::fromLatin1(w.fields.front().first) + "=7"};
        }
        QTest::newRow("xd: a material") << "xd" << QStringList{"Option2"};
        QTest::newRow("xd: the mode") << "xd" << QStringList{"Option5"};
        QTest::newRow("xd: the check box") << "xd" << QStringList{"Check1"};
        QTest::newRow("gyxd: a material") << "gyxd" << QStringList{"Option3"};
        QTest::newRow("gyxd: the allowance") << "gyxd" << QStringList{"Text4=310"};
        QTest::newRow("bh: an option") << "bh" << QStringList{"Option6"};
    }

    void aChangedInputMarksExactlyTheResults()
    {
        QFETCH(QString, code);
        QFETCH(QStringList, change);
        Session session;
        QWidget *screen = calculated(session, code.toLatin1().constData());
        QVERIFY(screen);
        QCOMPARE(labelsWith(screen, "stale"), QStringList());
        const QMap<QString, QString> before = labelTexts(screen);

        perform(screen, change);
        QCOMPARE(labelsWith(screen, "stale"), resultNames(*calc::find(code)));
        QCOMPARE(labelTexts(screen), before);
        QCOMPARE(session.messages.take(), QStringList());
        const auto *result = screen->findChild<QLabel *>(calc::find(code)->results.back().design);
        QVERIFY(result);
        QCOMPARE(result->palette().color(result->foregroundRole()),
                 screen->palette().color(QPalette::Disabled, QPalette::WindowText));

        // The next "计算" writes every result again, current.
        perform(screen,
                QStringList{QString::fromLatin1(worked(code.toLatin1().constData()).fields.front().first) + u'='
                            + QString::fromLatin1(worked(code.toLatin1().constData()).fields.front().second)});
        if (change == QStringList{"Check1"})
            clickOn(screen, "Check1");
        if (change == QStringList{"Check1"} || change == QStringList{"Option5"})
            clickOn(screen, "Option4");
        session.calculate(screen);
        // What it wrote is current; the hidden results of the other mode keep their mark.
        for (const QString &name : labelsWith(screen, "stale"))
            QVERIFY2(!shown(screen, name.toLatin1().constData()), qPrintable(name));
    }

    void nothingIsMarkedBeforeTheFirstCalculation()
    {
        Session session;
        QWidget *yl = session.openFromMenu("Command3");
        typeInto(yl, "Text1", QStringLiteral("2500"));
        QCOMPARE(labelsWith(yl, "stale"), QStringList());
    }

    void aFreshCalculationAfterAMessageLeavesNoMark()
    {
        Session session;
        QWidget *yl = calculated(session, "yl");
        typeInto(yl, "Text3", QStringLiteral("abc"));
        QCOMPARE(session.calculate(yl), QStringList{kNotPositive});
        // Refused: the old result stays, still out of date.
        QCOMPARE(labelsWith(yl, "stale"), QStringList{"Label5"});
        typeInto(yl, "Text3", QStringLiteral("500"));
        QCOMPARE(session.calculate(yl), QStringList());
        QCOMPARE(textOf(yl, "Label5"), QStringLiteral("2"));
        QCOMPARE(labelsWith(yl, "stale"), QStringList());
    }

    void theChosenRowFollowsTheAllowance_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("allowanceField");
        QTest::addColumn<QString>("allowance");
        QTest::addColumn<QStringList>("firstRow");
        QTest::addColumn<QStringList>("secondRow");
        QTest::newRow("xd") << "xd"
                            << "Text1"
                            << "0.5" << QStringList{"Label9", "Label29", "Label49", "Label69"}
                            << QStringList{"Label10", "Label30", "Label50", "Label70"};
        QTest::newRow("gyxd") << "gyxd"
                              << "Text4"
                              << "390" << QStringList{"Label4", "Label24", "Label61"}
                              << QStringList{"Label6", "Label26", "Label63"};
    }

    void theChosenRowFollowsTheAllowance()
    {
        QFETCH(QString, code);
        QFETCH(QString, allowanceField);
        QFETCH(QString, allowance);
        QFETCH(QStringList, firstRow);
        QFETCH(QStringList, secondRow);
        Session session;
        QWidget *screen = calculated(session, code.toLatin1().constData());
        firstRow.sort();
        secondRow.sort();
        QCOMPARE(labelsWith(screen, "chosen"), firstRow);
        const auto *cell = screen->findChild<QLabel *>(firstRow.front());
        QVERIFY(cell);
        QVERIFY(cell->autoFillBackground());
        QCOMPARE(cell->palette().color(cell->backgroundRole()), screen->palette().color(QPalette::Highlight));
        QCOMPARE(cell->palette().color(cell->foregroundRole()), screen->palette().color(QPalette::HighlightedText));

        // A change of input clears it; the next "计算" marks the new row.
        typeInto(screen, allowanceField.toLatin1().constData(), allowance);
        QCOMPARE(labelsWith(screen, "chosen"), QStringList());
        session.calculate(screen);
        QCOMPARE(labelsWith(screen, "chosen"), secondRow);

        // A mode change clears it, and so does a calculation without pre-selection.
        clickOn(screen, "Option5");
        QCOMPARE(labelsWith(screen, "chosen"), QStringList());
        clickOn(screen, "Option4");
        session.calculate(screen);
        QCOMPARE(labelsWith(screen, "chosen"), secondRow);
        clickOn(screen, "Check1");
        session.calculate(screen);
        QCOMPARE(labelsWith(screen, "chosen"), QStringList());
    }

    // Every number field of every calculation screen shows what it is read as, as it
    // is typed and when a design is loaded, and the mark goes when the text is whole.
    void aFieldNotReadWholeIsMarked_data()
    {
        QTest::addColumn<QString>("code");
        for (const calc::Calculation &c : calc::all())
            QTest::newRow(qPrintable(c.code)) << c.code;
    }

    void aFieldNotReadWholeIsMarked()
    {
        QFETCH(QString, code);
        const calc::Calculation &c = *calc::find(code);
        std::unique_ptr<Screen> screen(createScreen(code));
        for (const calc::Field &f : c.fields) {
            auto *box = screen->findChild<QLineEdit *>(f.design);
            QVERIFY2(box, qPrintable(f.design));
            const QColor plain = box->palette().color(QPalette::Base);
            box->setText(QStringLiteral("12 000"));
            QCOMPARE(box->property("readAs").toString(), QStringLiteral("12"));
            QCOMPARE(box->toolTip(), QStringLiteral("读作 12"));
            QVERIFY(box->palette().color(QPalette::Base) != plain);
            box->setText(QStringLiteral(" 12 "));
            QVERIFY(!box->property("readAs").isValid());
            QCOMPARE(box->toolTip(), QString());
            QCOMPARE(box->palette().color(QPalette::Base), plain);
        }
        calc::Input input = c.initialInput();
        input.texts.insert(c.fields.front().key, QStringLiteral("1,200"));
        dynamic_cast<WorkScreen *>(screen.get())->loadState(design::valuesOf(c, input));
        QCOMPARE(screen->findChild<QLineEdit *>(c.fields.front().design)->property("readAs").toString(),
                 QStringLiteral("1"));
    }

    // 25 Nm^3/h on steel with 2 Pa/m: the nearest row, 50 mm at 3.11 Pa/m, is chosen and marked as over.
    void aChoiceOverItsAllowanceIsMarkedApart()
    {
        Session session;
        QWidget *xd = session.openFromMenu("Command5");
        QVERIFY(xd);
        perform(xd, {"Check1", "Option4", "Text2=25", "Text3=1.5E-5", "Text4=288", "Text5=0.72", "Text1=2"});
        session.calculate(xd);
        const QStringList chosen = labelsWith(xd, "chosen");
        QCOMPARE(chosen.size(), 4);
        QCOMPARE(labelsWith(xd, "overAllowance"), chosen);
        const auto *cell = xd->findChild<QLabel *>(chosen.front());
        QCOMPARE(cell->toolTip(), QStringLiteral("超出允许单位压降 55.6%"));
        QVERIFY(cell->palette().color(cell->backgroundRole()) != xd->palette().color(QPalette::Highlight));
        // Within the allowance the row is chosen as before, without the mark.
        typeInto(xd, "Text1", QStringLiteral("3.2"));
        session.calculate(xd);
        QCOMPARE(labelsWith(xd, "overAllowance"), QStringList());
        QCOMPARE(labelsWith(xd, "chosen"), chosen);
        QCOMPARE(cell->toolTip(), QString());
        QCOMPARE(cell->palette().color(cell->backgroundRole()), xd->palette().color(QPalette::Highlight));
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("code");
        for (const char *code : {"hy", "xz", "xd", "gyxd", "fxgj", "ll", "lll", "yl", "yt", "jb", "bh", "gy", "cs"})
            QTest::newRow(code) << QString::fromLatin1(code);
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, code);
        // A screen of its own, outside the shell: its buttons press, nothing navigates.
        MessageRecorder messages;
        std::unique_ptr<Screen> screen(createScreen(code));
        QVERIFY(screen);
        screen->Form_Load();
        screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.get()));
        const QList<QPushButton *> buttons = screen->findChildren<QPushButton *>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton *button : buttons) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            QSignalSpy clicks(button, &QPushButton::clicked);
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
            QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(clicks.size(), 2);
        }
        // Enter in a text box presses nothing.
        if (auto *box = screen->findChild<QLineEdit *>(QStringLiteral("Text1"))) {
            if (box->isEnabled()) {
                QList<std::shared_ptr<QSignalSpy>> spies;
                for (QPushButton *button : buttons)
                    spies << std::make_shared<QSignalSpy>(button, &QPushButton::clicked);
                box->setFocus();
                QTest::keyClick(box, Qt::Key_Return);
                for (const auto &spy : spies)
                    QCOMPARE(spy->size(), 0);
            }
        }
        screen->closeForExit();
    }
};

QTEST_MAIN(ResultMarksTest)
#include "tst_result_marks.moc"
