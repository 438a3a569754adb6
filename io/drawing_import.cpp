#include "drawing_import.h"

#include "drawing_topology.h"
#include "network_geometry.h"
#include "number_text.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <numbers>

namespace drawing {

namespace {

constexpr const char *kMaterials[] = {"钢管", "铸铁管", "塑料管"};

// GDAL draws an arc as chords of at most this many degrees; set, so the arcs can be found again.
constexpr double kArcStepDegrees = 4;

struct UnitName
{
    int code; // $INSUNITS
    const char *name;
    double metres;
};
constexpr UnitName kUnits[]
    = {{1, "in", 0.0254}, {2, "ft", 0.3048},  {3, "mi", 1609.344}, {4, "mm", 0.001}, {5, "cm", 0.01}, {6, "m", 1},
       {7, "km", 1000},   {10, "yd", 0.9144}, {14, "dm", 0.1},     {15, "dam", 10},  {16, "hm", 100}};

// GDAL's settings for one read, on this thread only, put back afterwards; and its errors caught
// instead of printed, the first failure kept as the reason to refuse the file.
class GdalRead
{
public:
    explicit GdalRead(bool utf8)
    {
        static std::once_flag registered;
        std::call_once(registered, [] { GDALAllRegister(); });
        // Lines inside blocks come placed, each on its own layer rather than merged per insert.
        set("DXF_INLINE_BLOCKS", "TRUE");
        set("DXF_MERGE_BLOCK_GEOMETRIES", "FALSE");
        set("DXF_TRANSLATE_ESCAPE_SEQUENCES", "TRUE");
        set("OGR_ARC_STEPSIZE", QByteArray::number(kArcStepDegrees).constData());
        // GDAL decodes by $DWGCODEPAGE, but R2007 and later files are UTF-8 whatever it says.
        if (utf8)
            set("DXF_ENCODING", "UTF-8");
        CPLPushErrorHandlerEx(&GdalRead::caught, this);
        CPLErrorReset();
    }
    ~GdalRead()
    {
        CPLPopErrorHandler();
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
            CPLSetThreadLocalConfigOption(it->first.constData(), it->second ? it->second->constData() : nullptr);
    }
    GdalRead(const GdalRead &) = delete;
    GdalRead &operator=(const GdalRead &) = delete;

    QString failure() const
    {
        if (!m_failure.isEmpty() || CPLGetLastErrorType() < CE_Failure)
            return m_failure;
        return QString::fromUtf8(CPLGetLastErrorMsg());
    }

private:
    void set(const char *key, const char *value)
    {
        const char *old = CPLGetThreadLocalConfigOption(key, nullptr);
        m_saved.emplace_back(QByteArray(key), old ? std::optional<QByteArray>(old) : std::nullopt);
        CPLSetThreadLocalConfigOption(key, value);
    }
    static void CPL_STDCALL caught(CPLErr type, CPLErrorNum, const char *message)
    {
        auto *self = static_cast<GdalRead *>(CPLGetErrorHandlerUserData());
        if (self && type >= CE_Failure && self->m_failure.isEmpty())
            self->m_failure = QString::fromUtf8(message).trimmed();
    }
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
    QString m_failure;
};

// What GDAL does not pass on from a DXF header: $ACADVER, since R2007 (AC1021) and later keep
// their text in UTF-8, and $INSUNITS.
struct DxfHeader
{
    bool utf8 = false;
    int units = 0;
};

DxfHeader readDxfHeader(const QString &path)
{
    DxfHeader header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    QByteArray variable;
    // The header comes first and is short; a file without one is not read further than this.
    for (int pair = 0; pair < 20000 && !file.atEnd(); ++pair) {
        const QByteArray code = file.readLine(4096).trimmed();
        const QByteArray value = file.readLine(4096).trimmed();
        if (code == "0" && value == "ENDSEC")
            break;
        if (code == "9") {
            variable = value;
            continue;
        }
        if (variable == "$ACADVER")
            header.utf8 = value.startsWith("AC") && value.mid(2).toInt() >= 1021;
        else if (variable == "$INSUNITS")
            header.units = value.toInt();
        variable.clear();
    }
    return header;
}

// GDAL knows a DXF by its first section, whatever the file's name.
bool startsLikeDxf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray start = file.read(64).trimmed();
    return start.startsWith('0') && start.contains("SECTION");
}

// The line of the first NUL byte, 0 when there is none. A text DXF has none, and GDAL's reader can
// loop forever on a line that holds one, so such a file is refused before GDAL sees it.
int lineOfNul(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int line = 1;
    while (!file.atEnd()) {
        const QByteArray chunk = file.read(1 << 20);
        const qsizetype nul = chunk.indexOf('\0');
        if (nul >= 0)
            return line + int(chunk.left(nul).count('\n'));
        line += int(chunk.count('\n'));
    }
    return 0;
}

struct ReadLine
{
    int layer = 0;
    std::vector<Point> points;
    bool arcs = false; // drawn with arcs that GDAL turned into chords
    QString diameter;
    QString material;
    QString id;
};

struct ReadText
{
    int layer = 0;
    Point at;
    QString text;
};

struct LayerRead
{
    QString name;
    int lines = 0;
    QMap<QString, int> leftOut;
    bool degrees = false; // a GIS layer in longitude and latitude
    QString units;
};

struct Drawing
{
    QList<LayerRead> layers;
    std::vector<ReadLine> lines;
    std::vector<ReadText> texts;
    QString error;
};

QString fileProblem(const QString &path, const QString &gdalMessage)
{
    static const QRegularExpression lineNumber(QStringLiteral("line (\\d+)"));
    const QRegularExpressionMatch m = lineNumber.match(gdalMessage);
    if (m.hasMatch())
        return QStringLiteral("“%1”第%2行：文件不完整或已损坏，未导入任何内容").arg(path, m.captured(1));
    QString reason = gdalMessage;
    // GDAL's own source position, of no use to a reader.
    static const QRegularExpression sourcePrefix(QStringLiteral("^\\S+\\.cpp, \\d+: "));
    reason.remove(sourcePrefix);
    return QStringLiteral("“%1”：文件已损坏，未导入任何内容（%2）").arg(path, reason);
}

QString geometryKind(OGRwkbGeometryType type)
{
    return QString::fromLatin1(OGRGeometryTypeToName(wkbFlatten(type))).toLower().remove(u' ');
}

// What a DXF entity that is not a pipe is, by its AutoCAD class ("AcDbEntity:AcDbText"), else
// (files before R13 name no classes) by its geometry; empty for a line that may be a pipe.
QString dxfKind(const QByteArray &classes, OGRwkbGeometryType type, bool line, bool hasText)
{
    if (!classes.isEmpty()) {
        const QByteArray last = classes.mid(classes.lastIndexOf(':') + 1);
        if (last == "AcDbArc" || last == "AcDbLine" || last == "AcDbPolyline" || last == "AcDb2dPolyline"
            || last == "AcDb3dPolyline")
            return QString();
        if (last == "AcDbText" || last == "AcDbMText" || last == "AcDbAttribute" || last == "AcDbAttributeDefinition")
            return QStringLiteral("text");
        return QString::fromLatin1(last.startsWith("AcDb") ? last.mid(4) : last).toLower();
    }
    if (line)
        return QString();
    if (wkbFlatten(type) == wkbPoint && hasText)
        return QStringLiteral("text");
    return geometryKind(type);
}

bool isLineType(OGRwkbGeometryType type)
{
    switch (wkbFlatten(type)) {
    case wkbLineString:
    case wkbMultiLineString:
    case wkbCircularString:
    case wkbCompoundCurve:
    case wkbMultiCurve:
        return true;
    default:
        return false;
    }
}

void collectLines(const OGRGeometry *geometry, double scale, std::vector<std::vector<Point>> &out)
{
    const OGRwkbGeometryType type = wkbFlatten(geometry->getGeometryType());
    if (type == wkbLineString) {
        const OGRLineString *line = geometry->toLineString();
        std::vector<Point> points;
        points.reserve(std::size_t(line->getNumPoints()));
        for (int i = 0; i < line->getNumPoints(); ++i) {
            const Point p{line->getX(i) * scale, line->getY(i) * scale};
            // Repeated points (GDAL repeats a polyline vertex where an arc meets it, to the last
            // bit or nearly) are no bends.
            if (points.empty()
                || std::hypot(p.x - points.back().x, p.y - points.back().y)
                    > 1e-9 + 1e-12 * (std::abs(p.x) + std::abs(p.y)))
                points.push_back(p);
        }
        if (!points.empty())
            out.push_back(std::move(points));
    } else if (type == wkbMultiLineString || type == wkbMultiCurve || type == wkbGeometryCollection) {
        for (const OGRGeometry *part : *geometry->toGeometryCollection())
            collectLines(part, scale, out);
    } else if (type == wkbPoint) {
        // A polyline of one vertex: a line of no length, dropped later like any other.
        const OGRPoint *p = geometry->toPoint();
        out.push_back({{p->getX() * scale, p->getY() * scale}});
    } else if (type == wkbCircularString || type == wkbCompoundCurve) {
        const std::unique_ptr<OGRGeometry> linear(geometry->getLinearGeometry(kArcStepDegrees));
        if (linear)
            collectLines(linear.get(), scale, out);
    }
}

// Farther than a million kilometres is no place on earth: an entity lost far out in the drawing
// (or a number that is none), left out before it can stretch the grids of the steps.
bool inReach(Point p)
{
    constexpr double kReach = 1e9;
    return std::abs(p.x) <= kReach && std::abs(p.y) <= kReach;
}

// Files before R13 name no classes, so a CIRCLE comes as a line like any other: a closed run of
// at least a full turn's worth of equal chords, as GDAL draws a circle.
bool isCircle(const std::vector<Point> &points)
{
    const std::size_t chords = points.size() - 1;
    if (points.size() < 2 || double(chords) < 360 / kArcStepDegrees
        || std::hypot(points.front().x - points.back().x, points.front().y - points.back().y)
            > 1e-9 + 1e-12 * (std::abs(points.front().x) + std::abs(points.front().y)))
        return false;
    const double first = std::hypot(points[1].x - points[0].x, points[1].y - points[0].y);
    for (std::size_t j = 1; j < chords; ++j) {
        if (std::abs(std::hypot(points[j + 1].x - points[j].x, points[j + 1].y - points[j].y) - first) > 1e-6 * first)
            return false;
    }
    return true;
}

struct Fields
{
    int diameter = -1;
    int material = -1;
    int id = -1;
};

int fieldIndex(const OGRFeatureDefn *definition, const QString &chosen, std::initializer_list<const char *> names)
{
    for (int i = 0; i < definition->GetFieldCount(); ++i) {
        const QString name = QString::fromUtf8(definition->GetFieldDefn(i)->GetNameRef());
        if (!chosen.isEmpty()) {
            if (name.compare(chosen, Qt::CaseInsensitive) == 0)
                return i;
            continue;
        }
        for (const char *n : names) {
            if (name.compare(QString::fromUtf8(n), Qt::CaseInsensitive) == 0)
                return i;
        }
    }
    return -1;
}

QString diameterOf(const OGRFeature &feature, int field)
{
    if (field < 0 || !feature.IsFieldSetAndNotNull(field))
        return QString();
    const OGRFieldType type = feature.GetFieldDefnRef(field)->GetType();
    if (type == OFTInteger || type == OFTInteger64 || type == OFTReal) {
        const double v = feature.GetFieldAsDouble(field);
        return v > 0 ? formatNumber(v) : QString();
    }
    const QString text = QString::fromUtf8(feature.GetFieldAsString(field)).trimmed();
    const QString nominal = readLabel(text).diameter;
    if (!nominal.isEmpty())
        return nominal;
    const NumberRead number = readLeadingNumber(text);
    return number.whole && number.value > 0 ? text : QString();
}

QString materialOf(const OGRFeature &feature, int field)
{
    if (field < 0 || !feature.IsFieldSetAndNotNull(field))
        return QString();
    const QString text = QString::fromUtf8(feature.GetFieldAsString(field)).trimmed();
    if (const std::optional<int> m = network::materialOf(text))
        return QString::fromUtf8(kMaterials[*m]);
    return readLabel(text).material;
}

Drawing readDrawing(const QString &path, const Options &options)
{
    Drawing d;
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        d.error = QStringLiteral("无法读取文件“%1”：文件不存在").arg(path);
        return d;
    }
    const bool dxf = info.suffix().compare(u"dxf", Qt::CaseInsensitive) == 0 || startsLikeDxf(path);
    if (const int nul = dxf ? lineOfNul(path) : 0) {
        d.error = QStringLiteral("“%1”第%2行：含有空字节，不是文本 DXF 文件，未导入任何内容").arg(path).arg(nul);
        return d;
    }
    const DxfHeader header = dxf ? readDxfHeader(path) : DxfHeader();
    GdalRead gdal(header.utf8);
    const char *const drivers[] = {"DXF", "ESRI Shapefile", "GPKG", "GeoJSON", nullptr};
    const QByteArray encodedPath = QFile::encodeName(path);
    const GDALDatasetUniquePtr dataset(
        GDALDataset::Open(encodedPath.constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, nullptr, nullptr));
    if (!dataset) {
        const QString failure = gdal.failure();
        d.error = failure.isEmpty()
            ? QStringLiteral("无法读取文件“%1”：不是 DXF、Shapefile、GeoPackage 或 GeoJSON 文件").arg(path)
            : fileProblem(path, failure);
        return d;
    }
    const bool isDxf = qstrcmp(dataset->GetDriver()->GetDescription(), "DXF") == 0;

    QHash<QByteArray, int> layerIndex;
    auto layerNamed = [&](const QByteArray &name) {
        const auto found = layerIndex.constFind(name);
        if (found != layerIndex.constEnd())
            return found.value();
        layerIndex.insert(name, int(d.layers.size()));
        d.layers.push_back(LayerRead{QString::fromUtf8(name), 0, {}, false, {}});
        return int(d.layers.size() - 1);
    };

    double dxfScale = 1;
    QString dxfUnits;
    if (isDxf) {
        for (const UnitName &u : kUnits) {
            if (u.code == header.units) {
                dxfScale = u.metres;
                dxfUnits = QString::fromLatin1(u.name);
            }
        }
    }

    std::vector<std::vector<Point>> parts;
    for (OGRLayer *layer : dataset->GetLayers()) {
        const OGRFeatureDefn *definition = layer->GetLayerDefn();
        double scale = dxfScale;
        QString units = dxfUnits;
        bool degrees = false;
        if (!isDxf) {
            scale = 1;
            units.clear();
            if (const OGRSpatialReference *srs = layer->GetSpatialRef()) {
                OGREnvelope extent;
                if (srs->IsGeographic()) {
                    // GeoJSON claims WGS 84 even for projected coordinates: trust only degrees that fit.
                    degrees = layer->GetExtent(&extent, TRUE) != OGRERR_NONE
                        || (std::abs(extent.MinX) <= 180 && std::abs(extent.MaxX) <= 180 && std::abs(extent.MinY) <= 90
                            && std::abs(extent.MaxY) <= 90);
                } else if (srs->IsProjected() || srs->IsLocal()) {
                    const char *name = nullptr;
                    scale = srs->GetLinearUnits(&name);
                    units = scale == 1 ? QStringLiteral("m") : QString::fromUtf8(name);
                }
            }
        }
        if (options.metresPerUnit)
            scale = *options.metresPerUnit;
        const int layerField = isDxf ? definition->GetFieldIndex("Layer") : -1;
        const int paperField = isDxf ? definition->GetFieldIndex("PaperSpace") : -1;
        const int classField = isDxf ? definition->GetFieldIndex("SubClasses") : -1;
        const int textField = isDxf ? definition->GetFieldIndex("Text") : -1;
        Fields fields;
        fields.diameter = fieldIndex(definition, options.diameterField, {"diameter", "DN", "管径"});
        fields.material = fieldIndex(definition, options.materialField, {"material", "管材"});
        fields.id = fieldIndex(definition, options.idField, {"pipe", "id"});
        const QString ogrName = QString::fromUtf8(layer->GetName());
        for (const auto &[chosen, index] :
             {std::pair{options.diameterField, fields.diameter}, std::pair{options.materialField, fields.material},
              std::pair{options.idField, fields.id}}) {
            if (!chosen.isEmpty() && index < 0
                && (isDxf || options.layers.isEmpty() || options.layers.contains(ogrName))) {
                d.error = QStringLiteral("“%1”：图层“%2”没有字段“%3”").arg(path, ogrName, chosen);
                return d;
            }
        }
        const int ogrLayer = isDxf ? -1 : layerNamed(layer->GetName());
        if (ogrLayer >= 0) {
            d.layers[ogrLayer].degrees = degrees;
            d.layers[ogrLayer].units = units;
        }

        layer->ResetReading();
        for (const OGRFeatureUniquePtr &feature : *layer) {
            const int at = isDxf ? layerNamed(QByteArray(feature->GetFieldAsString(layerField))) : ogrLayer;
            LayerRead &into = d.layers[at];
            if (isDxf && into.units.isEmpty())
                into.units = units;
            const OGRGeometry *geometry = feature->GetGeometryRef();
            if (!geometry) {
                ++into.leftOut[QStringLiteral("empty")];
                continue;
            }
            const OGRwkbGeometryType type = geometry->getGeometryType();
            const bool line = isLineType(type);
            if (isDxf && paperField >= 0 && feature->IsFieldSetAndNotNull(paperField)
                && feature->GetFieldAsInteger(paperField) != 0) {
                ++into.leftOut[QStringLiteral("paper_space")];
                continue;
            }
            const QString kind = isDxf ? dxfKind(QByteArray(feature->GetFieldAsString(classField)), type, line,
                                                 *feature->GetFieldAsString(textField) != '\0')
                : line                 ? QString()
                                       : geometryKind(type);
            if (!kind.isEmpty()) {
                ++into.leftOut[kind];
                if (kind == u"text" && wkbFlatten(type) == wkbPoint && textField >= 0) {
                    const OGRPoint *p = geometry->toPoint();
                    const Point where{p->getX() * scale, p->getY() * scale};
                    if (inReach(where))
                        d.texts.push_back({at, where, QString::fromUtf8(feature->GetFieldAsString(textField))});
                }
                continue;
            }
            parts.clear();
            collectLines(geometry, scale, parts);
            const QString diameter = diameterOf(*feature, fields.diameter);
            const QString material = materialOf(*feature, fields.material);
            const QString id = fields.id >= 0 && feature->IsFieldSetAndNotNull(fields.id)
                ? QString::fromUtf8(feature->GetFieldAsString(fields.id)).trimmed()
                : QString();
            const bool arcs = isDxf || geometry->hasCurveGeometry();
            const bool unnamed = isDxf && *feature->GetFieldAsString(classField) == '\0';
            for (std::vector<Point> &points : parts) {
                if (!std::all_of(points.begin(), points.end(), inReach)) {
                    ++into.leftOut[QStringLiteral("out_of_range")];
                    continue;
                }
                if (unnamed && isCircle(points)) {
                    ++into.leftOut[QStringLiteral("circle")];
                    continue;
                }
                d.lines.push_back({at, std::move(points), arcs, diameter, material, id});
                ++into.lines;
            }
        }
    }
    if (const QString failure = gdal.failure(); !failure.isEmpty())
        d.error = fileProblem(path, failure);
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
    if (const QRegularExpressionMatch m = nominal.match(text); m.hasMatch()) {
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
    Layers result;
    const Drawing d = readDrawing(path, Options());
    if (!d.error.isEmpty()) {
        result.error = d.error;
        return result;
    }
    for (const LayerRead &layer : d.layers) {
        result.layers.push_back({layer.name, layer.lines});
        if (result.units.isEmpty())
            result.units = layer.units;
    }
    return result;
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
        row[network::pipe::Diameter] = !read.diameter.isEmpty() ? read.diameter
            : !fromLayer.diameter.isEmpty()                     ? fromLayer.diameter
                                                                : fromText.diameter;
        row[network::pipe::Material] = !read.material.isEmpty() ? read.material
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
