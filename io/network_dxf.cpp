#include "network_dxf.h"

#include "network_geometry.h"

#include "number_text.h"

#include <QHash>
#include <QRectF>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <numeric>

namespace dxf {
namespace {

// Sizes on paper, mm; the model takes them times scale / 1000.
constexpr double kLabelHeight = 2.5;
constexpr double kCaptionHeight = 3.5;
constexpr double kTitleHeight = 5.0;
constexpr double kLabelGap = 0.8; // between a pipe and its labels
constexpr double kNodeRadius = 1.0;
constexpr double kSourceRadius = 2.5;
constexpr double kWorstNodeRadius = 2.0;
constexpr double kWorstWidth = 2.0; // the band under the most unfavourable pipes
constexpr double kMargin = 15.0; // between the network and the legend
// Long 仿宋 as drawings letter it; its Latin glyphs are half as wide as its Chinese ones.
constexpr double kWidthFactor = 0.7;

// ACI colours of the sizes from small to large, cool to warm like the screen's scale; red and
// magenta stay for the most unfavourable line and the sources.
constexpr std::array kSizeColours{5, 150, 4, 130, 3, 70, 2, 40, 30, 20};
// Their line weights, 1/100 mm.
constexpr std::array kSizeWeights{25, 30, 35, 40, 50, 60, 70};
constexpr int kWorstColour = 1;
constexpr int kSourceColour = 6;
constexpr int kPlainColour = 7; // black on white paper, white on a dark screen
constexpr int kByLayer = -1;

const QByteArray kStyle = QByteArrayLiteral("仿宋");

struct Layer
{
    QByteArray name;
    int colour = kPlainColour;
    int weight = -3; // the default
};

// Handles of the file's fixed records; the rest are numbered from kFirstFree as they are written.
enum Handle : quint64 {
    kRootDictionary = 1,
    kGroupDictionary,
    kPlotStyleDictionary,
    kPlotStyleNormal,
    kVportTable,
    kLtypeTable,
    kLayerTable,
    kStyleTable,
    kViewTable,
    kUcsTable,
    kAppidTable,
    kDimstyleTable,
    kBlockRecordTable,
    kModelSpace,
    kPaperSpace,
    kModelBlock,
    kModelBlockEnd,
    kPaperBlock,
    kPaperBlockEnd,
    kStandardStyle,
    kFirstFree,
};

QString fixed(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    // A value that rounds to nothing has no sign worth showing.
    if (text.startsWith(u'-')
        && std::all_of(text.cbegin() + 1, text.cend(), [](QChar c) { return c == u'0' || c == u'.'; }))
        text.remove(0, 1);
    return text;
}

// A text as a DXF string: one line, carets written as "^ ", and "%%" kept from reading as a
// control code (%%d, %%p...) by spelling each percent sign "%%%".
QByteArray textValue(const QString &text)
{
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        clean += c.unicode() < 0x20 || c.unicode() == 0x7f ? QChar(u' ') : c;
    QByteArray bytes = clean.toUtf8();
    if (bytes.contains('^'))
        bytes.replace("^", "^ ");
    if (bytes.contains("%%"))
        bytes.replace("%", "%%%");
    return bytes;
}

// Characters AutoCAD refuses in a layer's name.
QString layerSafe(QString name)
{
    for (QChar &c : name) {
        if (c.unicode() < 0x20 || QStringView(u"<>/\\\":;?*|=`,").contains(c))
            c = u'_';
    }
    return name;
}

// The number a size is ordered by: 100 for "DN100", 110 for "dn110"; none without digits.
std::optional<double> sizeNumber(const QString &size)
{
    const auto digit = std::find_if(size.cbegin(), size.cend(), [](QChar c) { return c.isDigit(); });
    if (digit == size.cend())
        return std::nullopt;
    return parseLeadingNumber(size.mid(digit - size.cbegin()));
}

// Upright: text reads left to right, or bottom to top along a vertical pipe, never upside down.
double upright(double degrees)
{
    constexpr double tolerance = 1e-9;
    if (degrees > 90 + tolerance)
        return degrees - 180;
    if (degrees <= -90 + tolerance)
        return degrees + 180;
    return degrees;
}

// How wide a label is drawn, roughly: a Chinese character a square, any other half of one.
double textWidth(const QString &text, double height)
{
    double ems = 0;
    for (QChar c : text)
        ems += c.unicode() >= 0x2e80 ? 1.0 : 0.5;
    return ems * height * kWidthFactor;
}

bool finite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

struct Anchor
{
    QPointF at;
    double angle = 0; // degrees, upright
};

// Where a pipe's labels sit: halfway along it, moved along that straight piece as far as the
// label needs to stay on it; on the longest piece when the one halfway is too short for the label.
Anchor labelAnchor(const QList<QPointF> &points, double labelWidth)
{
    QList<double> lengths;
    lengths.reserve(points.size() - 1);
    double total = 0;
    for (qsizetype i = 1; i < points.size(); ++i) {
        lengths.append(std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y()));
        total += lengths.back();
    }
    if (!(total > 0))
        return {points.front(), 0};
    const network::Middle middle = network::middleOf(points);
    qsizetype piece = middle.piece;
    double along = middle.along;
    const qsizetype longest = std::max_element(lengths.cbegin(), lengths.cend()) - lengths.cbegin();
    if (lengths[piece] >= labelWidth) {
        along = std::clamp(along, labelWidth / 2, lengths[piece] - labelWidth / 2);
    } else {
        if (lengths[longest] > lengths[piece])
            piece = longest;
        along = lengths[piece] / 2;
    }
    const QPointF a = points[piece], b = points[piece + 1];
    const double degrees = std::atan2(b.y() - a.y(), b.x() - a.x()) * 180 / std::numbers::pi;
    return {a + (b - a) * (along / lengths[piece]), upright(degrees)};
}

class Writer
{
public:
    QByteArray out;
    quint64 next = kFirstFree;

    void pair(int code, QByteArrayView value)
    {
        appendInt(code);
        out += value;
        out += '\n';
    }
    void number(int code, double value)
    {
        appendInt(code);
        appendShortest(out, value);
        out += '\n';
    }
    void integer(int code, int value)
    {
        appendInt(code);
        appendInt(value);
    }
    void handle(int code, quint64 value)
    {
        appendInt(code);
        std::array<char, 17> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + 16, value, 16).ptr;
        std::transform(digits.data(), end, digits.data(), [](char c) { return c >= 'a' ? char(c - 'a' + 'A') : c; });
        out.append(digits.data(), end - digits.data());
        out += '\n';
    }
    void fresh(int code = 5) { handle(code, next++); }
    void point(int code, QPointF p)
    {
        number(code, p.x());
        number(code + 10, p.y());
    }
    void point3(int code, QPointF p)
    {
        point(code, p);
        number(code + 20, 0);
    }

    // The common start of an entity in model space.
    void entity(const char *type, const QByteArray &layer, const char *subclass, int colour = kByLayer)
    {
        pair(0, type);
        fresh();
        handle(330, kModelSpace);
        pair(100, "AcDbEntity");
        pair(8, layer);
        if (colour != kByLayer)
            integer(62, colour);
        pair(100, subclass);
    }
    void polyline(const QByteArray &layer, const QList<QPointF> &points, bool closed = false, double width = 0,
                  int colour = kByLayer)
    {
        entity("LWPOLYLINE", layer, "AcDbPolyline", colour);
        integer(90, int(points.size()));
        integer(70, closed ? 1 : 0);
        if (width > 0)
            number(43, width);
        for (QPointF p : points)
            point(10, p);
    }
    void line(const QByteArray &layer, QPointF a, QPointF b, int colour = kByLayer)
    {
        entity("LINE", layer, "AcDbLine", colour);
        point3(10, a);
        point3(11, b);
    }
    void circle(const QByteArray &layer, QPointF centre, double radius, int colour = kByLayer)
    {
        entity("CIRCLE", layer, "AcDbCircle", colour);
        point3(10, centre);
        number(40, radius);
    }
    // A source: a circle with a cross.
    void source(const QByteArray &layer, QPointF centre, double radius, int colour = kByLayer)
    {
        circle(layer, centre, radius, colour);
        const double arm = radius * std::numbers::sqrt2 / 2;
        line(layer, centre + QPointF(-arm, -arm), centre + QPointF(arm, arm), colour);
        line(layer, centre + QPointF(-arm, arm), centre + QPointF(arm, -arm), colour);
    }
    // horizontal: 0 left, 1 centre; vertical: 0 baseline, 1 bottom, 2 middle, 3 top.
    void text(const QByteArray &layer, QPointF at, double height, double angle, const QString &value,
              int horizontal = 0, int vertical = 0)
    {
        entity("TEXT", layer, "AcDbText");
        point3(10, at);
        number(40, height);
        pair(1, textValue(value));
        if (angle != 0)
            number(50, angle);
        number(41, kWidthFactor);
        pair(7, kStyle);
        if (horizontal != 0)
            integer(72, horizontal);
        if (horizontal != 0 || vertical != 0)
            point3(11, at);
        pair(100, "AcDbText");
        if (vertical != 0)
            integer(73, vertical);
    }

    void section(const char *name)
    {
        pair(0, "SECTION");
        pair(2, name);
    }
    void endSection() { pair(0, "ENDSEC"); }
    void table(const char *name, quint64 handle, int count)
    {
        pair(0, "TABLE");
        pair(2, name);
        this->handle(5, handle);
        pair(330, "0");
        pair(100, "AcDbSymbolTable");
        integer(70, count);
    }
    // A table's record: its handle, owner and subclass markers.
    void record(const char *type, quint64 table, const char *subclass, int handleCode = 5)
    {
        pair(0, type);
        fresh(handleCode);
        handle(330, table);
        pair(100, "AcDbSymbolTableRecord");
        pair(100, subclass);
    }

private:
    void appendInt(int value)
    {
        std::array<char, 12> digits{};
        const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
        out.append(digits.data(), end - digits.data());
        out += '\n';
    }
};

struct Plan
{
    double k = 0.5; // model metres per paper millimetre
    QRectF extent; // the network's
    QList<Layer> sizeLayers; // small to large
    QList<QString> sizeTexts; // as the legend shows them
    QList<int> pipeLayer; // by pipe; -1: left out
    QList<QList<QPointF>> pipePoints; // by pipe
};

Plan planOf(const Drawing &d)
{
    Plan plan;
    const double scale = std::isfinite(d.scale) && d.scale > 0 ? d.scale : 500;
    plan.k = scale / 1000;

    QRectF extent;
    bool any = false;
    auto include = [&](QPointF p) {
        if (!any)
            extent = QRectF(p, p);
        extent.setLeft(std::min(extent.left(), p.x()));
        extent.setRight(std::max(extent.right(), p.x()));
        extent.setTop(std::min(extent.top(), p.y()));
        extent.setBottom(std::max(extent.bottom(), p.y()));
        any = true;
    };
    for (const Node &n : d.nodes) {
        if (finite({n.x, n.y}))
            include({n.x, n.y});
    }

    // Layer names are case-blind in CAD programs: "DN100" and "dn100" share one.
    const QString prefix = d.low ? QStringLiteral("燃气-低压-") : QStringLiteral("燃气-中高压-");
    QHash<QString, int> byKey;
    QList<QString> names;
    plan.pipeLayer.resize(d.pipes.size(), -1);
    plan.pipePoints.resize(d.pipes.size());
    for (qsizetype i = 0; i < d.pipes.size(); ++i) {
        const Pipe &p = d.pipes[i];
        if (p.from < 0 || p.from >= d.nodes.size() || p.to < 0 || p.to >= d.nodes.size())
            continue;
        QList<QPointF> points;
        points.reserve(p.bends.size() + 2);
        points.append({d.nodes[p.from].x, d.nodes[p.from].y});
        points.append(p.bends);
        points.append({d.nodes[p.to].x, d.nodes[p.to].y});
        if (!std::all_of(points.cbegin(), points.cend(), finite))
            continue;
        for (QPointF b : p.bends)
            include(b);
        const QString size = p.size.trimmed().isEmpty() ? QStringLiteral("管径未定") : p.size.trimmed();
        const QString key = size.toCaseFolded();
        auto found = byKey.constFind(key);
        if (found == byKey.cend()) {
            found = byKey.insert(key, int(names.size()));
            names.append(size);
        }
        plan.pipeLayer[i] = *found;
        plan.pipePoints[i] = std::move(points);
    }
    plan.extent = extent;

    // Small to large; sizes without a number after the rest, by name.
    QList<int> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const auto na = sizeNumber(names[a]), nb = sizeNumber(names[b]);
        if (na.has_value() != nb.has_value())
            return na.has_value();
        if (na && *na != *nb)
            return *na < *nb;
        return names[a] < names[b];
    });
    QList<int> rank(names.size());
    const qsizetype n = names.size();
    for (qsizetype r = 0; r < n; ++r) {
        rank[order[r]] = int(r);
        const auto spread = [&](qsizetype count) {
            return n == 1 ? 0 : qsizetype(std::lround(double(r) * double(count - 1) / double(n - 1)));
        };
        plan.sizeLayers.append({layerSafe(prefix + names[order[r]]).toUtf8(), kSizeColours[spread(kSizeColours.size())],
                                kSizeWeights[spread(kSizeWeights.size())]});
        plan.sizeTexts.append(names[order[r]]);
    }
    for (int &layer : plan.pipeLayer) {
        if (layer >= 0)
            layer = rank[layer];
    }
    return plan;
}

const QByteArray kSourceLayer = QByteArrayLiteral("燃气-气源");
const QByteArray kNodeLayer = QByteArrayLiteral("燃气-节点");
const QByteArray kWorstLayer = QByteArrayLiteral("燃气-最不利管线");
const QByteArray kLabelLayer = QByteArrayLiteral("燃气-标注");
const QByteArray kLegendLayer = QByteArrayLiteral("燃气-图例");
const QByteArray kFrameLayer = QByteArrayLiteral("燃气-图框");

void writeTables(Writer &w, const QList<Layer> &layers, QRectF view, double textHeight)
{
    w.section("TABLES");

    w.table("VPORT", kVportTable, 1);
    w.record("VPORT", kVportTable, "AcDbViewportTableRecord");
    w.pair(2, "*ACTIVE");
    w.integer(70, 0);
    w.point(12, view.center()); // the view opens on the whole drawing
    w.number(40, view.height());
    w.number(41, view.height() > 0 ? view.width() / view.height() : 1);
    // The rest as AutoCAD writes a plan view without snap or grid; integers read the same.
    constexpr std::pair<int, double> rest[]{
        {10, 0},   {20, 0},  {11, 1},  {21, 1},  {13, 0},  {23, 0},  {14, 1},  {24, 1},  {15, 1}, {25, 1},  {16, 0},
        {26, 0},   {36, 1},  {17, 0},  {27, 0},  {37, 0},  {42, 50}, {43, 0},  {44, 0},  {50, 0}, {51, 0},  {71, 0},
        {72, 100}, {73, 1},  {74, 3},  {75, 0},  {76, 0},  {77, 0},  {78, 0},  {281, 0}, {65, 1}, {110, 0}, {120, 0},
        {130, 0},  {111, 1}, {121, 0}, {131, 0}, {112, 0}, {122, 1}, {132, 0}, {79, 0},  {146, 0}};
    for (const auto &[code, value] : rest)
        w.number(code, value);
    w.pair(0, "ENDTAB");

    w.table("LTYPE", kLtypeTable, 3);
    for (const char *name : {"ByBlock", "ByLayer", "Continuous"}) {
        w.record("LTYPE", kLtypeTable, "AcDbLinetypeTableRecord");
        w.pair(2, name);
        w.integer(70, 0);
        w.pair(3, qstrcmp(name, "Continuous") == 0 ? "Solid line" : "");
        w.integer(72, 65);
        w.integer(73, 0);
        w.number(40, 0);
    }
    w.pair(0, "ENDTAB");

    w.table("LAYER", kLayerTable, int(layers.size()));
    for (const Layer &layer : layers) {
        w.record("LAYER", kLayerTable, "AcDbLayerTableRecord");
        w.pair(2, layer.name);
        w.integer(70, 0);
        w.integer(62, layer.colour);
        w.pair(6, "Continuous");
        w.integer(370, layer.weight);
        w.handle(390, kPlotStyleNormal);
    }
    w.pair(0, "ENDTAB");

    w.table("STYLE", kStyleTable, 2);
    for (bool standard : {true, false}) {
        w.pair(0, "STYLE");
        if (standard)
            w.handle(5, kStandardStyle);
        else
            w.fresh();
        w.handle(330, kStyleTable);
        w.pair(100, "AcDbSymbolTableRecord");
        w.pair(100, "AcDbTextStyleTableRecord");
        w.pair(2, standard ? QByteArrayView("Standard") : QByteArrayView(kStyle));
        w.integer(70, 0);
        w.number(40, 0);
        w.number(41, standard ? 1 : kWidthFactor);
        w.number(50, 0);
        w.integer(71, 0);
        w.number(42, textHeight);
        w.pair(3, standard ? "txt" : "simfang.ttf");
        w.pair(4, "");
    }
    w.pair(0, "ENDTAB");

    w.table("VIEW", kViewTable, 0);
    w.pair(0, "ENDTAB");
    w.table("UCS", kUcsTable, 0);
    w.pair(0, "ENDTAB");

    w.table("APPID", kAppidTable, 1);
    w.record("APPID", kAppidTable, "AcDbRegAppTableRecord");
    w.pair(2, "ACAD");
    w.integer(70, 0);
    w.pair(0, "ENDTAB");

    // Dimension styles carry their handle on 105: 5 is a dimension variable there.
    w.table("DIMSTYLE", kDimstyleTable, 1);
    w.pair(100, "AcDbDimStyleTable");
    w.integer(71, 0);
    w.record("DIMSTYLE", kDimstyleTable, "AcDbDimStyleTableRecord", 105);
    w.pair(2, "Standard");
    w.integer(70, 0);
    w.handle(340, kStandardStyle);
    w.pair(0, "ENDTAB");

    w.table("BLOCK_RECORD", kBlockRecordTable, 2);
    for (const auto &[handle, name] :
         {std::pair{kModelSpace, "*Model_Space"}, std::pair{kPaperSpace, "*Paper_Space"}}) {
        w.pair(0, "BLOCK_RECORD");
        w.handle(5, handle);
        w.handle(330, kBlockRecordTable);
        w.pair(100, "AcDbSymbolTableRecord");
        w.pair(100, "AcDbBlockTableRecord");
        w.pair(2, name);
        w.integer(70, 0);
        w.integer(280, 1);
        w.integer(281, 0);
    }
    w.pair(0, "ENDTAB");

    w.endSection();
}

void writeBlocks(Writer &w)
{
    w.section("BLOCKS");
    for (const auto &[record, begin, end, name] :
         {std::tuple{kModelSpace, kModelBlock, kModelBlockEnd, "*Model_Space"},
          std::tuple{kPaperSpace, kPaperBlock, kPaperBlockEnd, "*Paper_Space"}}) {
        const bool paper = record == kPaperSpace;
        w.pair(0, "BLOCK");
        w.handle(5, begin);
        w.handle(330, record);
        w.pair(100, "AcDbEntity");
        if (paper)
            w.integer(67, 1);
        w.pair(8, "0");
        w.pair(100, "AcDbBlockBegin");
        w.pair(2, name);
        w.integer(70, 0);
        w.point3(10, {0, 0});
        w.pair(3, name);
        w.pair(1, "");
        w.pair(0, "ENDBLK");
        w.handle(5, end);
        w.handle(330, record);
        w.pair(100, "AcDbEntity");
        if (paper)
            w.integer(67, 1);
        w.pair(8, "0");
        w.pair(100, "AcDbBlockEnd");
    }
    w.endSection();
}

// The root dictionary with the groups and the plot style every layer names ("Normal"), as
// AutoCAD writes them.
void writeObjects(Writer &w)
{
    w.section("OBJECTS");
    w.pair(0, "DICTIONARY");
    w.handle(5, kRootDictionary);
    w.pair(330, "0");
    w.pair(100, "AcDbDictionary");
    w.integer(281, 1);
    w.pair(3, "ACAD_GROUP");
    w.handle(350, kGroupDictionary);
    w.pair(3, "ACAD_PLOTSTYLENAME");
    w.handle(350, kPlotStyleDictionary);

    auto owned = [&](const char *type, quint64 handle, quint64 owner) {
        w.pair(0, type);
        w.handle(5, handle);
        w.pair(102, "{ACAD_REACTORS");
        w.handle(330, owner);
        w.pair(102, "}");
        w.handle(330, owner);
    };
    owned("DICTIONARY", kGroupDictionary, kRootDictionary);
    w.pair(100, "AcDbDictionary");
    w.integer(281, 1);

    owned("ACDBDICTIONARYWDFLT", kPlotStyleDictionary, kRootDictionary);
    w.pair(100, "AcDbDictionary");
    w.integer(281, 1);
    w.pair(3, "Normal");
    w.handle(350, kPlotStyleNormal);
    w.pair(100, "AcDbDictionaryWithDefault");
    w.handle(340, kPlotStyleNormal);

    owned("ACDBPLACEHOLDER", kPlotStyleNormal, kPlotStyleDictionary);
    w.endSection();
}

void writeClasses(Writer &w)
{
    w.section("CLASSES");
    for (const auto &[name, cpp] : {std::pair{"ACDBDICTIONARYWDFLT", "AcDbDictionaryWithDefault"},
                                    std::pair{"ACDBPLACEHOLDER", "AcDbPlaceHolder"}}) {
        w.pair(0, "CLASS");
        w.pair(1, name);
        w.pair(2, cpp);
        w.pair(3, "ObjectDBX Classes");
        w.integer(90, 0);
        w.integer(91, 1);
        w.integer(280, 0);
        w.integer(281, 0);
    }
    w.endSection();
}

} // namespace

PipeLabels pipeLabels(const Pipe &pipe, bool low)
{
    const QString size = pipe.size.trimmed();
    const int decimals = low ? 1 : 3;
    return {(size.isEmpty() ? QString() : size + u' ') + QStringLiteral("L=") + fixed(pipe.length, decimals),
            QStringLiteral("Q=") + fixed(pipe.flow, 1) + QStringLiteral(" ΔP=") + fixed(pipe.drop, decimals)};
}

QString nodeLabel(const Node &node, bool low)
{
    const QString id = node.id.trimmed();
    if (!node.pressure)
        return id;
    return id + QStringLiteral(" P=") + fixed(*node.pressure, low ? 1 : 2);
}

QString unitNote(bool low)
{
    return low ? QStringLiteral("L(m) Q(Nm^3/h) ΔP(Pa) P(Pa)") : QStringLiteral("L(km) Q(Nm^3/h) ΔP(kPa) P(kPa)");
}

Node nodeOf(const network::Result &r, int i, QPointF at)
{
    const network::NodeResult &n = r.nodes[i];
    Node node;
    node.id = n.id;
    node.x = at.x();
    node.y = at.y();
    node.source = n.source;
    node.worst = r.solved() && r.worstNode == i;
    if (r.solved())
        node.pressure = n.pressure;
    return node;
}

Pipe pipeOf(const network::Result &r, int k)
{
    const network::PipeResult &p = r.pipes[k];
    Pipe pipe;
    pipe.id = p.id;
    pipe.from = p.from;
    pipe.to = p.to;
    // A size of a catalogue by its name; millimetres as the inside diameter, "Di100", which
    // the import reads back as the same number.
    if (!p.size.isEmpty())
        pipe.size = p.size;
    else if (p.diameter > 0)
        pipe.size = QStringLiteral("Di") + formatNumber(p.diameter);
    pipe.length = p.length;
    if (r.solved()) {
        pipe.flow = p.flow;
        pipe.drop = p.pipeDrop;
    }
    return pipe;
}

Drawing drawingOf(const network::Result &r, const network::Layout &layout, double scale, const TitleBlock &title)
{
    Drawing d;
    d.low = r.low;
    d.scale = scale;
    d.title = title;
    d.nodes.reserve(r.nodes.size());
    for (qsizetype i = 0; i < r.nodes.size(); ++i)
        d.nodes.append(nodeOf(r, int(i), layout.points.value(i)));
    d.pipes.reserve(r.pipes.size());
    for (qsizetype k = 0; k < r.pipes.size(); ++k) {
        Pipe pipe = pipeOf(r, int(k));
        // Bends are surveyed places: they belong between ends that have theirs.
        if (pipe.from >= 0 && pipe.to >= 0 && !layout.automatic.value(pipe.from, true)
            && !layout.automatic.value(pipe.to, true))
            pipe.bends = r.pipes[k].bends;
        d.pipes.append(std::move(pipe));
    }
    if (r.solved()) {
        for (const int k : r.worstPath) {
            if (k >= 0 && k < d.pipes.size())
                d.pipes[k].worst = true;
        }
    }
    return d;
}

QByteArray write(const Drawing &d)
{
    const Plan plan = planOf(d);
    const double k = plan.k;
    const double labelHeight = kLabelHeight * k;

    // The legend and the title block stand at the right of the network, the title block in the
    // lower corner, the legend above it.
    const QRectF extent = plan.extent;
    const double left = extent.right() + kMargin * k;
    constexpr double titleWidth = 120, titleRow = 8, titleTop = 12, legendRow = 6, legendHead = 8;
    const double titleHeight = titleTop + 4 * titleRow;
    const QRectF titleBox(left, extent.top(), titleWidth * k, titleHeight * k); // Y up: top() is the bottom
    const qsizetype legendRows = plan.sizeLayers.size() + 4;
    const double legendHeight = (legendHead + legendRows * legendRow) * k;
    const double legendTop = std::max(extent.bottom(), titleBox.bottom() + 10 * k + legendHeight);

    // Not QRectF::united, which passes over a rectangle of no area: a network along a line.
    const QRectF all(QPointF(extent.left(), extent.top()),
                     QPointF(std::max(titleBox.right(), left + 60 * k), std::max(titleBox.bottom(), legendTop)));
    const QRectF view = all.adjusted(-kMargin * k, -kMargin * k, kMargin * k, kMargin * k);

    QList<Layer> layers{{"0", kPlainColour, -3}};
    layers += plan.sizeLayers;
    layers += QList<Layer>{{kSourceLayer, kSourceColour, 35}, {kNodeLayer, kPlainColour, -3},
                           {kWorstLayer, kWorstColour, -3},   {kLabelLayer, kPlainColour, -3},
                           {kLegendLayer, kPlainColour, -3},  {kFrameLayer, kPlainColour, -3}};

    Writer w;
    // About 600 bytes a pipe with its labels and its node.
    w.out.reserve(20000 + 600 * d.pipes.size());
    writeClasses(w);
    writeTables(w, layers, view, labelHeight);
    writeBlocks(w);

    w.section("ENTITIES");
    // The band first, so that the pipes are drawn over it.
    for (qsizetype i = 0; i < d.pipes.size(); ++i) {
        if (d.pipes[i].worst && plan.pipeLayer[i] >= 0)
            w.polyline(kWorstLayer, plan.pipePoints[i], false, kWorstWidth * k);
    }
    for (qsizetype i = 0; i < d.pipes.size(); ++i) {
        if (plan.pipeLayer[i] >= 0)
            w.polyline(plan.sizeLayers[plan.pipeLayer[i]].name, plan.pipePoints[i]);
    }
    const double gap = kLabelGap * k;
    for (qsizetype i = 0; i < d.pipes.size(); ++i) {
        if (plan.pipeLayer[i] < 0)
            continue;
        const PipeLabels labels = pipeLabels(d.pipes[i], d.low);
        const Anchor a = labelAnchor(
            plan.pipePoints[i], std::max(textWidth(labels.above, labelHeight), textWidth(labels.below, labelHeight)));
        const double radians = a.angle * std::numbers::pi / 180;
        const QPointF normal(-std::sin(radians) * gap, std::cos(radians) * gap);
        w.text(kLabelLayer, a.at + normal, labelHeight, a.angle, labels.above, 1, 1);
        w.text(kLabelLayer, a.at - normal, labelHeight, a.angle, labels.below, 1, 3);
    }
    for (const Node &n : d.nodes) {
        const QPointF at(n.x, n.y);
        if (!finite(at))
            continue;
        const double radius = (n.source ? kSourceRadius : kNodeRadius) * k;
        if (n.source)
            w.source(kSourceLayer, at, radius);
        else
            w.circle(kNodeLayer, at, radius);
        if (n.worst)
            w.circle(kWorstLayer, at, std::max(radius + 0.8 * k, kWorstNodeRadius * k));
        const double offset = radius + 0.8 * k;
        w.text(kLabelLayer, at + QPointF(offset, offset), labelHeight, 0, nodeLabel(n, d.low));
    }

    // The legend: a sample of each size in its colour, the source, a node, the most unfavourable
    // line, and the units of the labels.
    const double captionHeight = kCaptionHeight * k;
    w.text(kLegendLayer, {left, legendTop - legendHead * k / 2}, captionHeight, 0, QStringLiteral("图例"), 0, 2);
    qsizetype row = 0;
    auto rowY = [&](qsizetype r) { return legendTop - (legendHead + (double(r) + 0.5) * legendRow) * k; };
    auto sample = [&](QPointF at, const QString &caption) {
        w.text(kLegendLayer, at + QPointF(18 * k, 0), labelHeight, 0, caption, 0, 2);
    };
    for (qsizetype i = 0; i < plan.sizeLayers.size(); ++i, ++row) {
        const QPointF at(left, rowY(row));
        w.polyline(kLegendLayer, {at, at + QPointF(14 * k, 0)}, false, 0, plan.sizeLayers[i].colour);
        sample(at, plan.sizeTexts[i]);
    }
    QPointF at(left, rowY(row++));
    w.source(kLegendLayer, at + QPointF(7 * k, 0), kSourceRadius * k, kSourceColour);
    sample(at, QStringLiteral("气源"));
    at.setY(rowY(row++));
    w.circle(kLegendLayer, at + QPointF(7 * k, 0), kNodeRadius * k);
    sample(at, QStringLiteral("节点"));
    at.setY(rowY(row++));
    w.polyline(kLegendLayer, {at, at + QPointF(14 * k, 0)}, false, kWorstWidth * k, kWorstColour);
    sample(at, QStringLiteral("最不利管线"));
    w.text(kLegendLayer, {left, rowY(row)}, labelHeight, 0, unitNote(d.low), 0, 2);

    // The title block: the title across the top, then a caption and its value on each row.
    const QPointF origin = titleBox.topLeft(); // lower left, Y up
    auto paper = [&](double x, double y) { return origin + QPointF(x * k, y * k); };
    w.polyline(kFrameLayer, {paper(0, 0), paper(titleWidth, 0), paper(titleWidth, titleHeight), paper(0, titleHeight)},
               true);
    for (int r = 1; r <= 4; ++r)
        w.line(kFrameLayer, paper(0, r * titleRow), paper(titleWidth, r * titleRow));
    w.line(kFrameLayer, paper(25, 0), paper(25, 4 * titleRow));
    const QString title = d.title.title.trimmed().isEmpty() ? QStringLiteral("燃气管网水力计算图") : d.title.title;
    w.text(kFrameLayer, paper(titleWidth / 2, 4 * titleRow + titleTop / 2), kTitleHeight * k, 0, title, 1, 2);
    const QString scaleText = QStringLiteral("1:") + formatNumber(plan.k * 1000);
    const std::array<std::pair<QString, QString>, 4> rows{{{QStringLiteral("项目名称"), d.title.project},
                                                           {QStringLiteral("设计"), d.title.designer},
                                                           {QStringLiteral("日期"), d.title.date},
                                                           {QStringLiteral("比例"), scaleText}}};
    for (int r = 0; r < 4; ++r) {
        const double y = (3 - r + 0.5) * titleRow;
        w.text(kFrameLayer, paper(2, y), captionHeight, 0, rows[r].first, 0, 2);
        w.text(kFrameLayer, paper(27, y), captionHeight, 0, rows[r].second, 0, 2);
    }
    w.endSection();

    writeObjects(w);
    w.pair(0, "EOF");

    // The header comes first but needs the number of handles, known only now.
    Writer h;
    h.section("HEADER");
    h.pair(9, "$ACADVER");
    h.pair(1, "AC1024");
    h.pair(9, "$DWGCODEPAGE");
    h.pair(3, "ANSI_936");
    h.pair(9, "$INSBASE");
    h.point3(10, {0, 0});
    h.pair(9, "$EXTMIN");
    h.point3(10, all.topLeft());
    h.pair(9, "$EXTMAX");
    h.point3(10, all.bottomRight());
    h.pair(9, "$TEXTSTYLE");
    h.pair(7, kStyle);
    h.pair(9, "$TEXTSIZE");
    h.number(40, labelHeight);
    h.pair(9, "$CLAYER");
    h.pair(8, "0");
    h.pair(9, "$LUNITS");
    h.integer(70, 2);
    h.pair(9, "$LUPREC");
    h.integer(70, 3);
    h.pair(9, "$MEASUREMENT");
    h.integer(70, 1);
    h.pair(9, "$INSUNITS");
    h.integer(70, 6);
    h.pair(9, "$HANDSEED");
    h.handle(5, w.next);
    h.endSection();
    return h.out + w.out;
}

} // namespace dxf
