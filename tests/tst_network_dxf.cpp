#include "network_dxf.h"

#include <QHash>
#include <QLineF>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#ifdef VELMORA_HAVE_GDAL
#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#endif

using namespace dxf;

namespace {

// A source, a tee, a pipe with a bend, a pipe running down to the left and one running straight
// to the left, at surveyed coordinates; "dn100" shares the layer of "DN100".
Drawing sample(bool low)
{
    const double x = 4312345.678, y = 512345.5, km = low ? 1 : 0.001;
    Drawing d;
    d.low = low;
    d.nodes = {{"S", x, y, true, false, 3000.0},
               {"T", x + 40, y, false, false, 2950.26},
               {"A", x + 40, y + 40, false, true, 2900.0},
               {"B\n^%%d", x, y - 20, false, false, std::nullopt},
               {"C", x + 10, y + 40, false, false, 2899.0}};
    d.pipes = {{"1", 0, 1, {}, "DN100", 40 * km, 12.34, 49.75, true},
               {"2", 1, 2, {QPointF(x + 50, y + 20)}, "DN50", 45.2 * km, 5.5, 50.25, true},
               {"3", 1, 3, {}, "dn110", 44.7 * km, -3.2, -0.04, false},
               {"4", 2, 4, {}, "dn100", 30 * km, 1.0, 1.0, false}};
    d.title = {"", QStringLiteral("某小区燃气工程"), QStringLiteral("张工"), QStringLiteral("2024-05-01")};
    return d;
}

// An independent reader: group-code pairs, gathered into records by section.
struct Record
{
    QByteArray type;
    QList<std::pair<int, QByteArray>> groups;

    QList<QByteArray> values(int code) const
    {
        QList<QByteArray> all;
        for (const auto &[c, v] : groups) {
            if (c == code)
                all.append(v);
        }
        return all;
    }
    QByteArray value(int code) const { return values(code).value(0); }
    double number(int code) const { return value(code).toDouble(); }
    QString text() const
    {
        return QString::fromUtf8(value(1)).replace(QStringLiteral("^ "), QStringLiteral("^")).replace("%%%", "%");
    }
};

struct File
{
    QList<QByteArray> sections;
    QHash<QByteArray, QList<Record>> records; // by section; a table's records follow its TABLE
    QHash<QByteArray, QByteArray> header; // variable: its first value
    bool ended = false;
};

File read(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    File f;
    QByteArray section, variable;
    for (qsizetype i = 0; i + 1 < lines.size(); i += 2) {
        bool number = false;
        const int code = lines[i].trimmed().toInt(&number);
        const QByteArray value = lines[i + 1].endsWith('\r') ? lines[i + 1].chopped(1) : lines[i + 1];
        if (!number)
            return {};
        if (code == 0 && value == "SECTION") {
            section = lines.value(i + 3).trimmed();
            f.sections.append(section);
            i += 2;
        } else if (code == 0 && value == "EOF") {
            f.ended = i + 3 >= lines.size();
        } else if (code == 0 && value != "ENDSEC" && value != "ENDTAB") {
            f.records[section].append({value, {}});
        } else if (section == "HEADER" && code == 9) {
            variable = value;
        } else if (section == "HEADER" && !f.header.contains(variable)) {
            f.header[variable] = value;
        } else if (code != 0 && !f.records[section].isEmpty()) {
            f.records[section].back().groups.append({code, value});
        }
    }
    return f;
}

double distanceToPolyline(QPointF p, const QList<QPointF> &points)
{
    double best = std::numeric_limits<double>::infinity();
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QPointF d = points[i] - points[i - 1];
        const double t = std::clamp(QPointF::dotProduct(p - points[i - 1], d) / QPointF::dotProduct(d, d), 0.0, 1.0);
        best = std::min(best, QLineF(p, points[i - 1] + d * t).length());
    }
    return best;
}

QList<QPointF> pipePoints(const Drawing &d, const Pipe &p)
{
    return QList<QPointF>{{d.nodes[p.from].x, d.nodes[p.from].y}} + p.bends
        + QList<QPointF>{{d.nodes[p.to].x, d.nodes[p.to].y}};
}

} // namespace

class NetworkDxfTest : public QObject
{
    Q_OBJECT

private slots:
    void labelsCarryTheClassUnitsAndDigits_data()
    {
        QTest::addColumn<bool>("low");
        QTest::addColumn<Pipe>("pipe");
        QTest::addColumn<Node>("node");
        QTest::addColumn<QStringList>("expected"); // above, below, node

        QTest::newRow("low pressure: m and Pa, one decimal")
            << true << Pipe{"1", 0, 1, {}, " DN100 ", 35, 12.34, 4.46} << Node{"J3", 0, 0, false, false, 2850.26}
            << QStringList{"DN100 L=35.0", "Q=12.3 ΔP=4.5", "J3 P=2850.3"};
        QTest::newRow("medium pressure: km and kPa")
            << false << Pipe{"1", 0, 1, {}, "dn110", 0.35, 1234.56, 2.3457} << Node{"J3", 0, 0, false, false, 295.434}
            << QStringList{"dn110 L=0.350", "Q=1234.6 ΔP=2.346", "J3 P=295.43"};
        QTest::newRow("a drop that rounds to nothing has no sign; flow as solved")
            << true << Pipe{"1", 0, 1, {}, "DN50", 12, -3.21, -0.04} << Node{"J3", 0, 0, false, false, -0.01}
            << QStringList{"DN50 L=12.0", "Q=-3.2 ΔP=0.0", "J3 P=0.0"};
        QTest::newRow("no size, no pressure")
            << true << Pipe{"1", 0, 1, {}, "", 12, 0, 0} << Node{"J3", 0, 0, false, false, std::nullopt}
            << QStringList{"L=12.0", "Q=0.0 ΔP=0.0", "J3"};
    }
    void labelsCarryTheClassUnitsAndDigits()
    {
        QFETCH(bool, low);
        QFETCH(Pipe, pipe);
        QFETCH(Node, node);
        QFETCH(QStringList, expected);
        const PipeLabels labels = pipeLabels(pipe, low);
        QCOMPARE((QStringList{labels.above, labels.below, nodeLabel(node, low)}), expected);
    }

    void theFileHasWhatCadProgramsNeed()
    {
        const File f = read(write(sample(true)));
        QCOMPARE(f.sections, (QByteArrayList{"HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS"}));
        QVERIFY(f.ended);
        QCOMPARE(f.header.value("$ACADVER"), QByteArray("AC1024"));
        QCOMPARE(f.header.value("$INSUNITS"), QByteArray("6"));

        // Handles unique and below $HANDSEED; every owner a record of the file.
        QSet<QByteArray> handles;
        quint64 highest = 0;
        for (const QList<Record> &section : f.records) {
            for (const Record &r : section) {
                for (int code : {5, 105}) {
                    for (const QByteArray &h : r.values(code)) {
                        QVERIFY2(!handles.contains(h), h.constData());
                        handles.insert(h);
                        highest = std::max(highest, h.toULongLong(nullptr, 16));
                    }
                }
            }
        }
        QVERIFY(f.header.value("$HANDSEED").toULongLong(nullptr, 16) > highest);

        QHash<QByteArray, QByteArray> tableOf; // table name: handle
        QSet<QByteArray> layers, blocks;
        QByteArray table, modelSpace;
        for (const Record &r : f.records["TABLES"]) {
            if (r.type == "TABLE") {
                table = r.value(2);
                tableOf[table] = r.value(5);
                continue;
            }
            QCOMPARE(r.value(330), tableOf[table]);
            QCOMPARE(r.values(100).value(0), QByteArray("AcDbSymbolTableRecord"));
            if (table == "LAYER")
                layers.insert(r.value(2).toUpper());
            if (r.value(2) == "*Model_Space")
                modelSpace = r.value(5);
        }
        QCOMPARE(
            QSet<QByteArray>(tableOf.keyBegin(), tableOf.keyEnd()),
            (QSet<QByteArray>{"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW", "UCS", "APPID", "DIMSTYLE", "BLOCK_RECORD"}));
        const auto layerRecords = std::count_if(f.records["TABLES"].cbegin(), f.records["TABLES"].cend(),
                                                [](const Record &r) { return r.type == "LAYER"; });
        QCOMPARE(layers.size(), layerRecords); // no two names alike in any case
        for (const Record &r : f.records["BLOCKS"])
            blocks.insert(r.value(2));
        QVERIFY(blocks.contains("*Model_Space") && blocks.contains("*Paper_Space"));
        for (const Record &r : f.records["ENTITIES"]) {
            QCOMPARE(r.value(330), modelSpace);
            QCOMPARE(r.values(100).value(0), QByteArray("AcDbEntity"));
            QVERIFY2(layers.contains(r.value(8).toUpper()), r.value(8).constData());
        }
        for (const Record &r : f.records["OBJECTS"]) {
            for (const QByteArray &owner : r.values(330))
                QVERIFY(owner == "0" || handles.contains(owner));
        }
        const Record &root = f.records["OBJECTS"].front();
        QCOMPARE(root.type, QByteArray("DICTIONARY"));
        QCOMPARE(root.value(330), QByteArray("0"));
        QVERIFY(root.values(3).contains("ACAD_GROUP"));
    }

    void pipesSymbolsAndLabelsAreDrawnToScale_data()
    {
        QTest::addColumn<bool>("low");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("low pressure") << true << QStringLiteral("燃气-低压-");
        QTest::newRow("medium pressure") << false << QStringLiteral("燃气-中高压-");
    }
    void pipesSymbolsAndLabelsAreDrawnToScale()
    {
        QFETCH(bool, low);
        QFETCH(QString, prefix);
        const Drawing d = sample(low);
        const File f = read(write(d));

        // Sizes in the layer table from small to large, each in a colour of its own; the
        // legend lists them in that order.
        QStringList sizes;
        QSet<QByteArray> colours;
        for (const Record &r : f.records["TABLES"]) {
            const QString name = QString::fromUtf8(r.value(2));
            if (r.type == "LAYER" && name.startsWith(prefix)) {
                sizes.append(name.mid(prefix.size()));
                colours.insert(r.value(62));
            }
        }
        QCOMPARE(sizes, (QStringList{"DN50", "DN100", "dn110"}));
        QCOMPARE(colours.size(), 3);

        QHash<QString, QList<QPointF>> polylines; // by layer, points run together
        QHash<QString, const Record *> texts;
        QStringList legend;
        int widthOnWorst = 0;
        for (const Record &r : f.records["ENTITIES"]) {
            const QString layer = QString::fromUtf8(r.value(8));
            if (r.type == "LWPOLYLINE") {
                const QList<QByteArray> xs = r.values(10), ys = r.values(20);
                QCOMPARE(r.value(90).toLongLong(), xs.size());
                for (qsizetype i = 0; i < xs.size(); ++i)
                    polylines[layer].append({xs[i].toDouble(), ys[i].toDouble()});
                widthOnWorst += layer == "燃气-最不利管线" && r.number(43) == 2.0 * d.scale / 1000;
            } else if (r.type == "TEXT") {
                texts[r.text()] = &r;
                if (layer == "燃气-图例")
                    legend.append(r.text());
                if (layer == "燃气-标注")
                    QCOMPARE(r.number(40), 2.5 * d.scale / 1000);
            }
        }
        // Every vertex exactly as surveyed; "dn100" drawn on the layer of "DN100".
        const auto points = [&](int pipe) { return pipePoints(d, d.pipes[pipe]); };
        QCOMPARE(polylines[prefix + "DN100"], points(0) + points(3));
        QCOMPARE(polylines[prefix + "DN50"], points(1));
        QCOMPARE(polylines[prefix + "dn110"], points(2));
        QCOMPARE(polylines["燃气-最不利管线"], points(0) + points(1));
        QCOMPARE(widthOnWorst, 2);
        QCOMPARE(legend.mid(1, 3), (QStringList{"DN50", "DN100", "dn110"}));
        QVERIFY(legend.contains(unitNote(low)));

        // Labels upright and centred on their pipes, "above" on the upper side of the text.
        for (const Pipe &p : d.pipes) {
            const PipeLabels labels = pipeLabels(p, low);
            QVERIFY2(texts.contains(labels.above) && texts.contains(labels.below), qPrintable(labels.above));
            const Record &above = *texts[labels.above], &below = *texts[labels.below];
            const double angle = above.number(50);
            QVERIFY(angle > -90 && angle <= 90);
            QCOMPARE(below.number(50), angle);
            const QPointF a(above.number(11), above.number(21)), b(below.number(11), below.number(21));
            const QPointF up(-std::sin(angle * std::numbers::pi / 180), std::cos(angle * std::numbers::pi / 180));
            QVERIFY(QPointF::dotProduct(a - b, up) > 0);
            QVERIFY(distanceToPolyline((a + b) / 2, pipePoints(d, p)) < 1e-6);
            QCOMPARE(above.value(73) + below.value(73), QByteArray("13"));
        }
        for (const Node &n : d.nodes)
            QVERIFY2(texts.contains(nodeLabel(n, low).replace(u'\n', u' ')), qPrintable(nodeLabel(n, low)));
        QVERIFY(texts.contains("B ^%%d"));

        // The source's symbol at the source; the title block outside the network, at 1:500.
        const auto source
            = std::find_if(f.records["ENTITIES"].cbegin(), f.records["ENTITIES"].cend(),
                           [](const Record &r) { return r.type == "CIRCLE" && r.value(8) == "燃气-气源"; });
        QVERIFY(source != f.records["ENTITIES"].cend());
        QCOMPARE(QPointF(source->number(10), source->number(20)), QPointF(d.nodes[0].x, d.nodes[0].y));
        QVERIFY(texts.contains("1:500") && texts.contains(QStringLiteral("某小区燃气工程")));
        QCOMPARE(QString::fromUtf8(texts["1:500"]->value(8)), QStringLiteral("燃气-图框"));
        QVERIFY(texts["1:500"]->number(11) > d.nodes[2].x);
    }

    void gdalReadsPipesAsLinesOnTheirLayersAndTheLabelsAsText()
    {
#ifndef VELMORA_HAVE_GDAL
        QSKIP("built without GDAL");
#else
        const Drawing d = sample(true);
        QTemporaryDir dir;
        const QString path = dir.filePath("network.dxf");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(write(d)) > 0);
        file.close();

        GDALAllRegister();
        // Files of AutoCAD 2007 and later hold UTF-8 whatever their code page says; GDAL reads
        // by the code page unless told.
        CPLSetConfigOption("DXF_ENCODING", "UTF-8");
        GDALDatasetH dataset = GDALOpenEx(path.toUtf8().constData(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
        QVERIFY(dataset);
        OGRLayerH layer = GDALDatasetGetLayer(dataset, 0);
        QHash<QString, QList<QList<QPointF>>> lines;
        QSet<QString> texts;
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            const QString name
                = QString::fromUtf8(OGR_F_GetFieldAsString(feature, OGR_F_GetFieldIndex(feature, "Layer")));
            const QString text
                = QString::fromUtf8(OGR_F_GetFieldAsString(feature, OGR_F_GetFieldIndex(feature, "Text")));
            OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
            if (!text.isEmpty())
                texts.insert(text);
            else if (geometry && wkbFlatten(OGR_G_GetGeometryType(geometry)) == wkbLineString) {
                QList<QPointF> points;
                for (int i = 0; i < OGR_G_GetPointCount(geometry); ++i)
                    points.append({OGR_G_GetX(geometry, i), OGR_G_GetY(geometry, i)});
                lines[name].append(points);
            }
            OGR_F_Destroy(feature);
        }
        GDALClose(dataset);

        const QString prefix = QStringLiteral("燃气-低压-");
        QCOMPARE(lines[prefix + "DN100"],
                 (QList<QList<QPointF>>{pipePoints(d, d.pipes[0]), pipePoints(d, d.pipes[3])}));
        QCOMPARE(lines[prefix + "DN50"], QList<QList<QPointF>>{pipePoints(d, d.pipes[1])});
        QCOMPARE(lines[prefix + "dn110"], QList<QList<QPointF>>{pipePoints(d, d.pipes[2])});
        for (const Pipe &p : d.pipes) {
            QVERIFY2(texts.contains(pipeLabels(p, true).above), qPrintable(pipeLabels(p, true).above));
            QVERIFY2(texts.contains(pipeLabels(p, true).below), qPrintable(pipeLabels(p, true).below));
        }
        QVERIFY(texts.contains(nodeLabel(d.nodes[1], true)));
        QVERIFY(texts.contains(unitNote(true)));
#endif
    }
};

QTEST_GUILESS_MAIN(NetworkDxfTest)
#include "tst_network_dxf.moc"
