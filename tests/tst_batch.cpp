// velmora-batch in the process: what it writes, and what it refuses.
#include "batch.h"
#include "calculation.h"
#include "csv.h"
#include "worked_tables.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

BatchRun batch(const QStringList &arguments, const QByteArray &input = QByteArray())
{
    return runBatch(arguments, [input] { return input; });
}

QList<QStringList> rowsOf(const BatchRun &run)
{
    return csv::read(run.output).table.rows;
}

} // namespace

class BatchTest : public QObject
{
    Q_OBJECT

private slots:
    void listsTheNineCalculations()
    {
        const BatchRun run = batch({"--list"});
        QCOMPARE(run.status, 0);
        const QStringList lines = QString::fromUtf8(run.output).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.front(), QStringLiteral("ll\t") + calc::find(QStringLiteral("ll"))->title);
        QCOMPARE(lines.back(), QStringLiteral("bh\t壁厚设计计算"));
    }

    void fieldsOfAChoiceListTheirOptions()
    {
        const BatchRun run = batch({"--fields", "xd"});
        QCOMPARE(run.status, 0);
        const QString text = QString::fromUtf8(run.output);
        QVERIFY(text.contains(
            QStringLiteral("choice\tmaterial\tOption1=钢管|Option2=铸铁管|Option3=塑料管\t选择管材\t\n")));
        QVERIFY(text.contains(QStringLiteral("choice\tmode\tOption4|Option5\t")));
        QVERIFY(text.contains(QStringLiteral("input\tflow\tText2\t计算流量：\tNm^3/h\n")));
        QVERIFY(text.contains(QStringLiteral("result\tunit_drop\tLabel61..Label79\t")));
    }

    void rowsRunAsOnTheScreen()
    {
        // Byte-order mark, CRLF, a quoted cell, an empty cell and a refused row among good ones.
        const BatchRun run = batch({"yl"},
                                   "\xEF\xBB\xBF"
                                   "Text1,Text2,Text3\r\n2500,1500,400\r\n\"2500kPa\",1500,400\r\n"
                                   ",1500,400\r\n1e400,1,1\r\n");
        QCOMPARE(run.status, 0);
        QVERIFY(run.error.isEmpty());
        QVERIFY(!run.output.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(rowsOf(run),
                 (QList<QStringList>{
                     {"Text1", "Text2", "Text3", "allowable_drop", "message"},
                     {"2500", "1500", "400", "2.5", ""},
                     {"2500kPa", "1500", "400", "2.5", ""},
                     {"", "1500", "400", "", "录入数据不能为0或小于0,嘿嘿"},
                     {"1e400", "1", "1", "", "录入数据超出计算范围,嘿嘿"},
                 }));
    }

    void headersByKeyDesignOrCaption_data()
    {
        QTest::addColumn<QString>("header");
        QTest::newRow("keys") << "outlet_pressure,meter_pressure,loop_length";
        QTest::newRow("design names") << "Text1,Text2,Text3";
        QTest::newRow("captions as the screen shows them") << "调压箱出口压力(Pa)：,表前压力(Pa)：,最不利环路管长(m)：";
        QTest::newRow("captions without their colons") << "调压箱出口压力(Pa),表前压力(Pa),最不利环路管长(m)";
        QTest::newRow("in another order") << "loop_length,Text1,表前压力(Pa)";
    }

    void headersByKeyDesignOrCaption()
    {
        QFETCH(QString, header);
        QByteArray values = "2500,1500,400";
        if (header.startsWith(u"loop_length"))
            values = "400,2500,1500";
        const BatchRun run = batch({"yl"}, header.toUtf8() + "\n" + values + "\n");
        QCOMPARE(run.status, 0);
        QCOMPARE(rowsOf(run).value(1).value(3), QStringLiteral("2.5"));
    }

    void choicesByDesignCaptionOrPosition_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("diameter");
        const QByteArray gas = "100,1.5E-5,288,0.72,";
        QTest::newRow("steel by default")
            << QByteArray("Text2,Text3,Text4,Text5,Check1,mode,Text1\n" + gas + "1,1,2\n") << "100";
        QTest::newRow("cast iron by caption")
            << QByteArray("Text2,Text3,Text4,Text5,Check1,mode,Text1,material\n" + gas + "true,Option4,2,铸铁管\n")
            << "100";
        QTest::newRow("plastic by position, column headed by an option")
            << QByteArray("Text2,Text3,Text4,Text5,Check1,Option4,Text1,Option1\n" + gas + "1,1,0.5,3\n") << "125";
        QTest::newRow("no mode without the check box")
            << QByteArray("Text2,Text3,Text4,Text5,Check1,mode,Text1\n" + gas + "0,1,2\n") << "";
    }

    void choicesByDesignCaptionOrPosition()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, diameter);
        const BatchRun run = batch({"xd"}, csv);
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = rowsOf(run);
        const int column = int(rows[0].indexOf(QStringLiteral("preselected_diameter")));
        QVERIFY(column > 0);
        QCOMPARE(rows[1][column], diameter);
    }

    void tableRowsPerDiameter()
    {
        const BatchRun run = batch({"xd", "--table"},
                                   "flow,viscosity,temperature,density\n10,1.5E-5,288,0.72\n"
                                   "0,1,1,1\n");
        QCOMPARE(run.status, 0);
        const QList<QStringList> rows = rowsOf(run);
        QCOMPARE(rows.size(), 1 + 19 + 1);
        QCOMPARE(rows[0], (QStringList{"row", "diameter", "reynolds", "state", "unit_drop", "message"}));
        for (int k = 0; k < 19; ++k)
            QCOMPARE(rows[k + 1], QStringList{"1"} + kLowPressureTable[k] + QStringList{""});
        QCOMPARE(rows[20], (QStringList{"2", "", "", "", "", "录入数据不能为0或小于0,嘿嘿"}));
    }

    void readsAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("算例.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Text1,Text2\n0.7,10\n");
        file.close();
        const BatchRun run = batch({"yt", path});
        QCOMPARE(run.status, 0);
        QCOMPARE(rowsOf(run).value(1), (QStringList{"0.7", "10", "58.1733", ""}));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("error");
        QTest::newRow("no arguments") << QStringList() << QByteArray() << "用法";
        QTest::newRow("unknown code") << QStringList{"xx"} << QByteArray("a\n") << "未知的计算代号“xx”";
        QTest::newRow("unknown option") << QStringList{"yl", "--fast"} << QByteArray() << "未知的选项“--fast”";
        QTest::newRow("two files") << QStringList{"yl", "a.csv", "b.csv"} << QByteArray() << "用法";
        QTest::newRow("fields of nothing") << QStringList{"--fields"} << QByteArray() << "用法";
        QTest::newRow("table of a one-result screen")
            << QStringList{"yl", "--table"} << QByteArray("Text1\n1\n") << "--table 只用于 xd 和 gyxd";
        QTest::newRow("unreadable file") << QStringList{"yl", "/nonexistent/in.csv"} << QByteArray()
                                         << "无法读取文件“/nonexistent/in.csv”";
        QTest::newRow("empty input") << QStringList{"yl"} << QByteArray() << "第1行：没有表头";
        QTest::newRow("unknown column") << QStringList{"yl"} << QByteArray("Text1,Text9\n1,2\n")
                                        << "第1行：未知的列“Text9”";
        QTest::newRow("a column named twice")
            << QStringList{"yl"} << QByteArray("Text1,outlet_pressure\n1,2\n") << "第1行：列“outlet_pressure”重复";
        QTest::newRow("more cells than the header")
            << QStringList{"yl"} << QByteArray("Text1\n1\n1,2\n") << "第3行：单元格多于表头";
        QTest::newRow("unbalanced quotes") << QStringList{"yl"} << QByteArray("Text1\n1\n\"2\n") << "第3行：引号不成对";
        QTest::newRow("bad check cell") << QStringList{"xd"} << QByteArray("Check1\nyes\n")
                                        << "第2行：“yes”应为1、0、true或false";
        QTest::newRow("bad choice cell") << QStringList{"xd"} << QByteArray("material\n\n4\n")
                                         << "第3行：“4”不是“material”的选项";
        QTest::newRow("strict: a number not read whole")
            << QStringList{"--strict", "ll"} << QByteArray("Text1,Text2\n10,5\n\"12,000\",5\n")
            << "第3行第1列（Text1）：“12,000”不是完整的数，读作 12";
        QTest::newRow("strict: a route length")
            << QStringList{"route",         "--strict", "--density",        "0.72", "--viscosity", "1.5E-5",
                           "--temperature", "288",      "--allowable-drop", "400"}
            << QByteArray("section,length,flow,rise,diameter\n甲,100 m,50,0,\n") << "第2行第2列（length）：“100 m”";
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, error);
        const BatchRun run = batch(arguments, input);
        QCOMPARE(run.status, 2);
        QVERIFY(run.output.isEmpty());
        const QString text = QString::fromUtf8(run.error);
        QVERIFY2(text.contains(error), qPrintable(text));
        QVERIFY(text.startsWith(QStringLiteral("velmora-batch: ")));
        QCOMPARE(text.count(u'\n'), 1);
        QVERIFY(text.endsWith(u'\n'));
    }
};

QTEST_APPLESS_MAIN(BatchTest)
#include "tst_batch.moc"
