// The batch command and the screens give the same texts for the same inputs.
#include "batch.h"
#include "calculation.h"
#include "csv.h"
#include "gui_test.h"
#include "screen.h"
#include "screen_factory.h"
#include "shell.h"
#include "worked_cases.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

namespace {

// The labels of a table column from its range "Label21..Label39".
QStringList columnLabels(const QString &range)
{
    const int first = range.section(QStringLiteral(".."), 0, 0).mid(5).toInt();
    const int last = range.section(QStringLiteral(".."), 1).mid(5).toInt();
    QStringList labels;
    for (int n = first; n <= last; ++n)
        labels << QStringLiteral("Label%1").arg(n);
    return labels;
}

// A worked case as a CSV table headed by design names, one row.
QByteArray workedCsv(const WorkedInputs &worked, const calc::Calculation &c)
{
    QStringList header;
    QStringList row;
    for (const auto &[field, text] : worked.fields)
        header << QString::fromLatin1(field), row << QString::fromLatin1(text);
    for (const char *click : worked.clicks) {
        const QString name = QString::fromLatin1(click);
        for (const calc::Check &k : c.checks) {
            if (k.design == name)
                header << k.key, row << QStringLiteral("1");
        }
        for (const calc::Choice &ch : c.choices) {
            for (const calc::Option &o : ch.options) {
                if (o.design == name)
                    header << ch.key, row << o.design;
            }
        }
    }
    return csv::write({header, row});
}

} // namespace

class BatchAndScreensTest : public QObject
{
    Q_OBJECT

private slots:
    void workedCases_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < workedInputs().size(); ++i)
            QTest::newRow(workedInputs()[i].code) << int(i);
    }

    void workedCases()
    {
        QFETCH(int, index);
        const WorkedInputs &worked = workedInputs()[std::size_t(index)];
        const calc::Calculation *c = calc::find(QString::fromLatin1(worked.code));
        QVERIFY(c);

        Session session;
        QWidget *screen = session.openFromMenu(worked.opener);
        QVERIFY(screen);
        // The mode options enable their fields, so they are clicked first.
        for (const char *click : worked.clicks)
            clickOn(screen, click);
        for (const auto &[field, text] : worked.fields)
            typeInto(screen, field, QString::fromLatin1(text));
        const QStringList shownMessages = session.calculate(screen);

        const BatchRun run = runBatch({c->code}, [&] { return workedCsv(worked, *c); });
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = csv::read(run.output).table.rows;
        QCOMPARE(rows.size(), 2);
        for (const calc::Result &result : c->results) {
            const int column = int(rows[0].indexOf(result.key));
            // A caption is shown, not a value: it is no column.
            QCOMPARE(column >= 0, result.value);
            if (!result.value)
                continue;
            QCOMPARE(rows[1][column], textOf(screen, result.design.toLatin1().constData()));
        }
        QCOMPARE(rows[1].back(), shownMessages.join(QStringLiteral(" | ")));

        if (c->tableColumns.empty())
            return;
        const BatchRun table = runBatch({c->code, QStringLiteral("--table")}, [&] { return workedCsv(worked, *c); });
        QCOMPARE(table.status, 0);
        const QList<QStringList> tableRows = csv::read(table.output).table.rows;
        QCOMPARE(tableRows.size(), 20);
        for (std::size_t k = 0; k < c->tableColumns.size(); ++k) {
            const QStringList labels = columnLabels(c->tableColumns[k].design);
            for (int r = 0; r < 19; ++r)
                QCOMPARE(tableRows[r + 1][int(k) + 1], textOf(screen, labels[r].toLatin1().constData()));
        }
    }

    // Every text box, check box and option of a calculation screen is in its description once.
    void descriptionsNameEveryControl()
    {
        for (const calc::Calculation &c : calc::all()) {
            std::unique_ptr<Screen> screen(createScreen(c.code));
            QVERIFY2(screen, qPrintable(c.code));
            QStringList described;
            for (const calc::Field &f : c.fields)
                described << f.design;
            for (const calc::Check &k : c.checks)
                described << k.design;
            for (const calc::Choice &ch : c.choices) {
                for (const calc::Option &o : ch.options)
                    described << o.design;
            }
            QStringList controls;
            for (QWidget *w : screen->findChildren<QWidget *>()) {
                if (qobject_cast<QLineEdit *>(w) || qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w))
                    controls << w->objectName();
            }
            described.sort();
            controls.sort();
            QCOMPARE(controls, described);
            for (const calc::Result &r : c.results)
                QVERIFY2(screen->findChild<QLabel *>(r.design), qPrintable(c.code + u' ' + r.design));
        }
    }
};

QTEST_MAIN(BatchAndScreensTest)
#include "tst_batch_and_screens.moc"
