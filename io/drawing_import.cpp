#include "drawing_import.h"

#include "drawing_source.h"
#include "network_geometry.h"
#include "number_text.h"

#include <QFile>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QHash>
#include <QRegularExpression>
#include <QSet>


#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace drawing {

namespace {

// The module that reads files through GDAL, found beside the program, in the build's folder
// above a test's, or where it is installed; nothing, with the reason, when it is missing.
const Reader *reader(QString *error)
{
#ifdef VELMORA_DRAWINGS_BUILTIN
    Q_UNUSED(error);
    return velmoraDrawingReader();
#else
    static QString problem;
    static const Reader *found = [] () -> const Reader * {
        const QString dir = QCoreApplication::applicationDirPath();
        const QString name = QStringLiteral("velmora_drawings");
        const QStringList places{qEnvironmentVariable("VELMORA_DRAWINGS_MODULE"), dir + u'/' + name,
                                 dir + QStringLiteral("/../") + name, dir + QStringLiteral("/../lib/velmora/") + name};
        for (const QString &place : places) {
            if (place.isEmpty())
                continue;
            QLibrary library(place);
            if (!library.load()) {
                if (problem.isEmpty() && QFileInfo::exists(library.fileName()))
                    problem = library.errorString();
                continue;
            }
            using Entry = const Reader *(*)();
            if (const auto entry = reinterpret_cast<Entry>(library.resolve("velmoraDrawingReader")))
                return entry();
        }
        return nullptr;
    }();
    if (!found && error)
        *error = QStringLiteral("无法加载读取图纸的模块 velmora_drawings%1").arg(problem.isEmpty() ? QString() : QStringLiteral("（%1）").arg(problem));
    return found;
#endif
}

// A diameter field's text: a nominal size as the labels name it ("DN100"), or a number read whole.
QString fieldDiameter(const QString &text)
{
    const QString nominal = readLabel(text).diameter;
    if (!nominal.isEmpty())
        return nominal;
    const NumberRead number = readLeadingNumber(text);
    return number.whole && number.value > 0 ? text : QString();
}

// A material field's text: 1-3 or a material's caption, or a label naming one ("PE").
QString fieldMaterial(const QString &text)
{
    if (const std::optional<int> m = network::materialOf(text))
        return QString::fromUtf8(kMaterials[*m]);
    return readLabel(text).material;
}

Drawing readDrawing(const QString &path, const Options &options)
{
    Drawing d;
    if (const Reader *r = reader(&d.error))
        return r->read(path, options);
    return d;
}

QString unitName(double metres)
{
    for (const UnitName &u : kUnits) {
        if (u.metres == metres)
            return QString::fromLatin1(u.name);
    }
    return formatNumber(metres) + QStringLiteral(" m");
}

// Metres to the micrometre: what a drawing can mean, without cos(90°) showing as 6E-17 or survey
// coordinates' last bits in a length.
double toMicrometre(double metres)
{
    return std::round(metres * 1e6) / 1e6 + 0.0;
}

QString coordinate(double v)
{
    return formatNumber(toMicrometre(v));
}

} // namespace

std::optional<double> metresPerUnit(const QString &unit)
{
    for (const char *name : {"m", "mm", "cm", "km"}) {
        if (unit == QLatin1String(name)) {
            for (const UnitName &u : kUnits) {
                if (qstrcmp(u.name, name) == 0)
                    return u.metres;
            }
        }
    }
    return std::nullopt;
}

Label readLabel(const QString &text)
{
    Label label;
    // DN100, dn110, De110: the nominal size as the drawing names it, De written as dn.
    static const QRegularExpression nominal(QStringLiteral("(?<![A-Za-z])([Dd])([NnEe])\\s*(\\d+(?:\\.\\d+)?)"));
    // D108×4, Φ108x4: outside diameter by wall, read as the inside diameter.
    static const QRegularExpression outside(
        QStringLiteral("(?<![A-Za-z])[DΦφ∅Ø]\\s*(\\d+(?:\\.\\d+)?)\\s*[×xX*]\\s*(\\d+(?:\\.\\d+)?)"));
    // Di100: the inside diameter itself, as Velmora labels a pipe typed in millimetres.
    static const QRegularExpression inside(QStringLiteral("(?<![A-Za-z])D[iI]\\s*(\\d+(?:\\.\\d+)?)"));
    if (const QRegularExpressionMatch m = inside.match(text); m.hasMatch()) {
        label.diameter = formatNumber(m.captured(1).toDouble());
    } else if (const QRegularExpressionMatch m = nominal.match(text); m.hasMatch()) {
        const bool upper = m.captured(1) == u"D" && m.captured(2).toLower() == u"n";
        label.diameter = (upper ? QStringLiteral("DN") : QStringLiteral("dn")) + m.captured(3);
    } else if (const QRegularExpressionMatch m = outside.match(text); m.hasMatch()) {
        const double inside = m.captured(1).toDouble() - 2 * m.captured(2).toDouble();
        if (inside > 0)
            label.diameter = formatNumber(inside);
    }
    static const QRegularExpression plastic(QStringLiteral("(?<![A-Za-z])PE|塑料"));
    if (text.contains(QStringLiteral("铸铁")))
        label.material = QString::fromUtf8(kMaterials[1]);
    else if (text.contains(u'钢'))
        label.material = QString::fromUtf8(kMaterials[0]);
    else if (plastic.match(text).hasMatch())
        label.material = QString::fromUtf8(kMaterials[2]);
    return label;
}

Layers listLayers(const QString &path)
{
    Layers layers;
    if (const Reader *r = reader(&layers.error))
        return r->listLayers(path);
    return layers;
}

Import importDrawing(const QString &path, const Options &options)
{
    Import result;
    const Drawing d = readDrawing(path, options);
    if (!d.error.isEmpty()) {
        result.error = d.error;
        return result;
    }
    QList<bool> chosen(d.layers.size(), false);
    for (const QString &name : options.layers) {
        const auto found
            = std::find_if(d.layers.cbegin(), d.layers.cend(), [&name](const LayerRead &l) { return l.name == name; });
        if (found == d.layers.cend()) {
            QStringList names;
            for (const LayerRead &l : d.layers)
                names << l.name;
            result.error
                = QStringLiteral("“%1”中没有图层“%2”（有：%3）").arg(path, name, names.join(QStringLiteral("、")));
            return result;
        }
        chosen[found - d.layers.cbegin()] = true;
    }
    Report &report = result.report;
    for (qsizetype i = 0; i < d.layers.size(); ++i) {
        if (options.layers.isEmpty())
            chosen[i] = d.layers[i].lines > 0;
        if (!chosen[i])
            continue;
        const LayerRead &layer = d.layers[i];
        if (layer.degrees) {
            result.error = QStringLiteral("“%1”：图层“%2”的坐标是经纬度，请先投影为以米为单位的平面坐标再导入")
                               .arg(path, layer.name);
            return result;
        }
        report.lines += layer.lines;
        for (auto it = layer.leftOut.cbegin(); it != layer.leftOut.cend(); ++it)
            report.leftOut[it.key()] += it.value();
        if (!report.unitsFound && !layer.units.isEmpty()) {
            report.unitsFound = true;
            report.units = layer.units;
        }
    }
    if (report.lines == 0) {
        result.error = QStringLiteral("“%1”：所选图层中没有可作管段的线").arg(path);
        return result;
    }
    if (options.metresPerUnit)
        report.units = unitName(*options.metresPerUnit);
    else if (!report.unitsFound)
        report.units = QStringLiteral("m (assumed)");

    std::vector<Line> lines;
    std::vector<int> sourceOf;
    lines.reserve(d.lines.size());
    const double maxStep = kArcStepDegrees * std::numbers::pi / 180 * (1 + 1e-6);
    for (std::size_t i = 0; i < d.lines.size(); ++i) {
        const ReadLine &read = d.lines[i];
        if (!chosen[read.layer])
            continue;
        Line line;
        line.points = read.points;
        line.along = read.arcs ? lengthsWithArcs(line.points, maxStep) : chordLengths(line.points);
        lines.push_back(std::move(line));
        sourceOf.push_back(int(i));
    }

    Joined joined = joinEnds(lines, options.snap);
    Network &net = joined.network;
    report.mergedEnds = joined.mergedEnds;
    report.tees = makeTees(net, options.snap);
    report.dropped = dropZeroLength(net, options.snap);
    report.parts = countParts(net);
    report.dangling = countDangling(net);
    report.nodes = int(net.nodes.size());
    report.pipes = int(net.pipes.size());

    // Labels on the chosen layers, and on layers that hold no lines at all (annotation layers);
    // a layer of lines left out is another network, whose labels are not ours.
    std::vector<Point> at;
    std::vector<Label> labels;
    for (const ReadText &t : d.texts) {
        if (!chosen[t.layer] && d.layers[t.layer].lines > 0)
            continue;
        const Label label = readLabel(t.text);
        if (label.diameter.isEmpty() && label.material.isEmpty())
            continue;
        at.push_back(t.at);
        labels.push_back(label);
    }
    const std::vector<int> labelOf = placeLabels(net, at, options.labelDistance);
    // Lengths written beside the pipes ("DN100 L=35.0", as the program exports them): the length a
    // designer typed over the drawing's, which the course does not keep.
    static const QRegularExpression lengthLabel(QStringLiteral("(?<![A-Za-z])L\\s*=\\s*(\\d+(?:\\.(\\d+))?)"));
    std::vector<Point> lengthAt;
    std::vector<std::pair<double, int>> lengths; // the length and its decimals
    for (const ReadText &t : d.texts) {
        if (!chosen[t.layer] && d.layers[t.layer].lines > 0)
            continue;
        if (const QRegularExpressionMatch m = lengthLabel.match(t.text); m.hasMatch()) {
            lengthAt.push_back(t.at);
            lengths.emplace_back(m.captured(1).toDouble(), int(m.capturedLength(2)));
        }
    }
    const std::vector<int> lengthOf = placeLabels(net, lengthAt, options.labelDistance);

    const bool low = options.pressure == network::Pressure::Low;
    for (std::size_t v = 0; v < net.nodes.size(); ++v) {
        network::Row row(network::node::Count);
        row[network::node::Id] = QStringLiteral("J%1").arg(v + 1);
        row[network::node::X] = coordinate(net.nodes[v].x);
        row[network::node::Y] = coordinate(net.nodes[v].y);
        result.nodes.push_back(row);
    }
    QSet<QString> ids;
    for (std::size_t k = 0; k < net.pipes.size(); ++k) {
        const Pipe &pipe = net.pipes[k];
        const ReadLine &read = d.lines[std::size_t(sourceOf[std::size_t(pipe.line)])];
        const Label fromLayer = readLabel(d.layers[read.layer].name);
        const Label fromText = labelOf[k] >= 0 ? labels[std::size_t(labelOf[k])] : Label();
        network::Row row(network::pipe::Count);
        const QString base = read.id.isEmpty() ? QString::number(k + 1) : read.id;
        QString id = base;
        for (int n = 2; ids.contains(id); ++n)
            id = base + u'-' + QString::number(n);
        ids.insert(id);
        row[network::pipe::Id] = id;
        row[network::pipe::From] = result.nodes[pipe.from][network::node::Id];
        row[network::pipe::To] = result.nodes[pipe.to][network::node::Id];
        const double length = toMicrometre(pipe.length());
        row[network::pipe::Length] = formatNumber(low ? length : length / 1000);
        const QString fieldD = fieldDiameter(read.diameter), fieldM = fieldMaterial(read.material);
        row[network::pipe::Diameter] = !fieldD.isEmpty() ? fieldD
            : !fromLayer.diameter.isEmpty()                     ? fromLayer.diameter
                                                                : fromText.diameter;
        row[network::pipe::Material] = !fieldM.isEmpty() ? fieldM
            : !fromLayer.material.isEmpty()                     ? fromLayer.material
                                                                : fromText.material;
        QList<QPointF> bends;
        for (std::size_t j = 1; j + 1 < pipe.points.size(); ++j)
            bends.push_back(QPointF(pipe.points[j].x, pipe.points[j].y));
        row[network::pipe::Vertices] = network::verticesText(bends);
        result.pipes.push_back(row);
        result.bends.push_back(bends);
        report.totalLength += length;
        if (lengthOf[k] >= 0) {
            const auto [labelled, decimals] = lengths[std::size_t(lengthOf[k])];
            // As written: half a unit of its last digit either way, and the bits of a decimal.
            if (std::abs((low ? length : length / 1000) - labelled) > 0.5 * std::pow(10.0, -decimals) * (1 + 1e-9))
                ++report.lengthLabelsDiffer;
        }
    }
    report.totalLength = toMicrometre(report.totalLength);
    return result;
}

QList<QStringList> nodeTable(const Import &import)
{
    QList<QStringList> rows{{"node", "x", "y"}};
    for (const network::Row &n : import.nodes)
        rows << QStringList{n[network::node::Id], n[network::node::X], n[network::node::Y]};
    return rows;
}

QList<QStringList> pipeTable(const Import &import)
{
    QList<QStringList> rows{{"pipe", "from", "to", "length", "diameter", "material", "vertices"}};
    for (const network::Row &p : import.pipes) {
        rows << QStringList{p[network::pipe::Id],      p[network::pipe::From],     p[network::pipe::To],
                            p[network::pipe::Length],  p[network::pipe::Diameter], p[network::pipe::Material],
                            p[network::pipe::Vertices]};
    }
    return rows;
}

} // namespace drawing
