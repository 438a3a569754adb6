#include "network_read.h"

#include "hs.h"
#include "network_columns.h"
#include "network_catalogue.h"
#include "network_geometry.h"
#include "network_options.h"
#include "number_text.h"
#include "pd.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <span>

namespace network {

namespace {

// Far beyond any district, and small enough that the counts beyond a pipe add up exactly.
constexpr double kMostHouseholds = 1e9;

Problem problemAt(Problem::Table table, int row, const QString &column, const QString &text)
{
    return Problem{table, row, column, text};
}

std::optional<double> typedNumber(const QString &text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    const NumberRead read = readLeadingNumber(text);
    if (!read.whole || !std::isfinite(read.value))
        return std::nullopt;
    return read.value;
}

// The first number cell of a row whose text the leading-number rule does not read whole
// ("1,200", "2500kPa"): such a text is refused, not used as the part it reads. The
// elevation counts at low pressure only.
std::optional<Problem> partlyRead(Table table, int row, const Row &cells, const QString &id, bool low)
{
    struct Named
    {
        int column;
        const char *caption;
    };
    static const Named nodeColumns[] = {{node::Load, "负荷"},
                                        {node::Elevation, "高程"},
                                        {node::X, "坐标X"},
                                        {node::Y, "坐标Y"},
                                        {node::SourcePressure, "气源压力"}};
    static const Named pipeColumns[] = {{pipe::Length, "管长"}, {pipe::Diameter, "管径"}};
    const bool nodes = table == Table::Nodes;
    for (const Named &n : nodes ? std::span<const Named>(nodeColumns) : std::span<const Named>(pipeColumns)) {
        if (nodes && n.column == node::Elevation && !low)
            continue;
        // A diameter may be a size's name (DN100), read by the catalogue.
        if (!nodes && n.column == pipe::Diameter && isSizeName(cells.value(n.column)))
            continue;
        const QString readAs = readAsText(cells.value(n.column));
        if (readAs.isEmpty())
            continue;
        return problemAt(nodes ? Problem::Table::Nodes : Problem::Table::Pipes, row, columns(table)[n.column].key,
                         QStringLiteral("%1“%2”的%3未能完整读取：读作 %4")
                             .arg(nodes ? QStringLiteral("节点") : QStringLiteral("管段"), id,
                                  QString::fromUtf8(n.caption), readAs));
    }
    return std::nullopt;
}

// A choice kept in a design file may hold anything; empty is its initial value.
bool isOneOf(const QString &text, const QString &initial, const QString &other)
{
    const QString t = text.trimmed();
    return t.isEmpty() || t == initial || t == other;
}

// The settings of sizing, velocity and the pressures' basis, and the catalogues.
std::optional<Problem> readSizing(const Network &net, Arrays &m)
{
    const Settings &s = net.settings;
    auto setting
        = [](const QString &name, const QString &text) { return problemAt(Problem::Table::Settings, -1, name, text); };
    const QString atmosphere = s.text(gas::kAtmosphere).trimmed();
    m.atmosphere = atmosphere.isEmpty() ? 101.325 : parseLeadingNumber(atmosphere);
    if (!std::isfinite(m.atmosphere) || m.atmosphere <= 0)
        return setting(gas::kAtmosphere, QStringLiteral("大气压应大于0"));
    if (!isOneOf(s.text(gas::kPressureBasis), gas::kAbsolute, gas::kGauge))
        return setting(gas::kPressureBasis, QStringLiteral("压力基准应为绝压（absolute）或表压（gauge）"));
    m.gauge = !m.low && gas::isGauge(s);
    const QString velocity = s.text(kMaxVelocity).trimmed();
    m.maxVelocity = velocity.isEmpty() ? 0 : parseLeadingNumber(velocity);
    if (!std::isfinite(m.maxVelocity) || m.maxVelocity < 0 || (!velocity.isEmpty() && m.maxVelocity == 0))
        return setting(kMaxVelocity, QStringLiteral("最大流速应大于0"));
    if (!isOneOf(s.text(kSeries), kSectionSeries, kCatalogueSeries))
        return setting(kSeries, QStringLiteral("选径系列应为管段计算的19种管径（section）或管材规格（catalogue）"));
    const bool fromCatalogue = s.text(kSeries).trimmed() == kCatalogueSeries;
    for (int material = 0; material < 3; ++material) {
        CatalogueRead read = readCatalogue(material, net.catalogues[std::size_t(material)]);
        if (!read.problem.isEmpty())
            return problemAt(Problem::Table::Catalogue, read.row, catalogueKey(material), read.problem);
        m.catalogues[std::size_t(material)] = std::move(read.sizes);
    }
    const MinimumRead minimum = readMinimum(s.text(kMinSize), m.catalogues);
    if (!minimum.problem.isEmpty())
        return setting(kMinSize, minimum.problem);
    const auto &section = m.low ? pd::kLowPressureSection : pd::kHighPressureSection;
    for (std::size_t material = 0; material < 3; ++material) {
        m.minDiameter[material] = minimum.of[material].diameter;
        m.minName[material] = minimum.of[material].name.toStdString();
        std::vector<Arrays::Choice> &series = m.series[material];
        if (fromCatalogue) {
            const std::vector<pd::PipeSize> &sizes = m.catalogues[material];
            for (std::size_t i = 0; i < sizes.size(); ++i)
                series.push_back({sizes[i].inner, int(i)});
            std::stable_sort(series.begin(), series.end(),
                             [](const Arrays::Choice &a, const Arrays::Choice &b) { return a.diameter < b.diameter; });
        } else {
            for (const double d : section)
                series.push_back({d, -1});
        }
        std::erase_if(series, [&](const Arrays::Choice &c) { return c.diameter < m.minDiameter[material]; });
    }
    return std::nullopt;
}

// A node's place where both X and Y are typed.
std::optional<QPointF> placeOf(const Row &row)
{
    const std::optional<double> x = typedNumber(row.value(node::X)), y = typedNumber(row.value(node::Y));
    if (x && y)
        return QPointF(*x, *y);
    return std::nullopt;
}

// A pipe's length along its course, from its ends' places through its bends: m, or km for
// medium/high pressure; nothing where an end has no place.
std::optional<double> lengthAlong(const std::optional<QPointF> &from, const std::optional<QPointF> &to,
                                  const QList<QPointF> &bends, bool low)
{
    if (!from || !to)
        return std::nullopt;
    QList<QPointF> course{*from};
    course += bends;
    course << *to;
    const double metres = courseLength(course);
    return low ? metres : metres / 1000;
}

} // namespace

void sketch(const Network &net, Result &r)
{
    r.low = net.settings.pressure == Pressure::Low;
    r.nodes.clear();
    r.pipes.clear();
    r.nodes.reserve(net.nodes.size());
    r.pipes.reserve(net.pipes.size());
    QHash<QString, int> index;
    index.reserve(net.nodes.size());
    for (qsizetype i = 0; i < net.nodes.size(); ++i) {
        const Row &row = net.nodes[i];
        NodeResult n;
        n.id = row.value(node::Id).trimmed();
        n.place = placeOf(row);
        n.source = !row.value(node::SourcePressure).trimmed().isEmpty();
        index.insert(n.id, int(i));
        r.nodes << n;
    }
    for (const Row &row : net.pipes) {
        PipeResult p;
        p.id = row.value(pipe::Id).trimmed();
        p.from = index.value(row.value(pipe::From).trimmed(), -1);
        p.to = index.value(row.value(pipe::To).trimmed(), -1);
        const std::optional<QList<QPointF>> bends = readVertices(row.value(pipe::Vertices));
        p.bends = bends.value_or(QList<QPointF>());
        if (row.value(pipe::Length).trimmed().isEmpty() && bends && p.from >= 0 && p.to >= 0) {
            if (const std::optional<double> L
                = lengthAlong(r.nodes[p.from].place, r.nodes[p.to].place, p.bends, r.low)) {
                p.length = *L;
                p.lengthFromGeometry = true;
            }
        }
        r.pipes << p;
    }
}

Reading read(const Network &net)
{
    Reading r;
    Arrays &m = r.arrays;
    const Settings &s = net.settings;
    m.low = s.pressure == Pressure::Low;
    auto refuse = [&r](Problem p) {
        r.problem = std::move(p);
        return r;
    };
    struct Named
    {
        QString name;
        const char *caption;
        double *into;
        bool zeroAllowed;
    };
    double a = 0;
    const Named settings[] = {
        {gas::kDensity, "燃气密度", &m.rho, false},
        {gas::kViscosity, "运动粘度", &m.nu, false},
        {gas::kTemperature, "燃气温度", &m.T, false},
        {gas::kLocalPercent, "局部阻力", &a, true},
        {kMinPressure, "最低压力", &m.minPressure, false},
    };
    for (const Named &n : settings) {
        QString text = s.text(n.name);
        if (n.name == gas::kLocalPercent && text.trimmed().isEmpty())
            text = QStringLiteral("10");
        *n.into = parseLeadingNumber(text);
        const bool ok = std::isfinite(*n.into) && (n.zeroAllowed ? *n.into >= 0 : *n.into > 0);
        if (!ok)
            return refuse(problemAt(
                Problem::Table::Settings, -1, n.name,
                QStringLiteral("%1应%2").arg(QString::fromUtf8(n.caption),
                                             n.zeroAllowed ? QStringLiteral("不小于0") : QStringLiteral("大于0"))));
    }
    if (s.material < 0 || s.material > 2)
        return refuse(
            problemAt(Problem::Table::Settings, -1, QStringLiteral("material"), QStringLiteral("未知的管材")));
    // A choice kept in a design file may hold anything; empty is its initial value.
    const QString defaultSet = s.text(kAppliance).trimmed();
    if (!defaultSet.isEmpty() && defaultSet != u"1" && defaultSet != u"2")
        return refuse(problemAt(Problem::Table::Settings, -1, kAppliance,
                                QStringLiteral("默认用具应为1（双眼灶）或2（双眼灶和快速热水器）")));
    const char defaultAppliance = defaultSet == u"1" ? 0 : 1;
    const QString reading = s.text(kSimultaneity).trimmed();
    if (!reading.isEmpty() && reading != u"steps" && reading != u"linear")
        return refuse(problemAt(Problem::Table::Settings, -1, kSimultaneity,
                                QStringLiteral("同时工作系数应为分段取值（steps）或线性插值（linear）")));
    m.linear = reading == u"linear";
    if (const std::optional<Problem> p = readSizing(net, m))
        return refuse(*p);

    const std::size_t nodeCount = std::size_t(net.nodes.size());
    m.load.reserve(nodeCount);
    m.households.reserve(nodeCount);
    m.appliance.reserve(nodeCount);
    m.z.reserve(nodeCount);
    m.source.reserve(nodeCount);
    m.sourcePressure.reserve(nodeCount);
    m.fixedPotential.reserve(nodeCount);
    QHash<QString, int> nodeIndex;
    nodeIndex.reserve(net.nodes.size());
    std::vector<std::optional<QPointF>> places;
    places.reserve(nodeCount);
    bool anySource = false;
    int firstWith[2] = {-1, -1}; // the first node with households of each set
    for (int i = 0; i < net.nodes.size(); ++i) {
        const Row &row = net.nodes[i];
        const QString id = row.value(node::Id).trimmed();
        auto at = [i](const char *column, const QString &text) {
            return problemAt(Problem::Table::Nodes, i, QString::fromLatin1(column), text);
        };
        if (id.isEmpty())
            return refuse(at("node", QStringLiteral("节点编号为空")));
        if (nodeIndex.contains(id))
            return refuse(at("node", QStringLiteral("节点“%1”重复").arg(id)));
        nodeIndex.insert(id, i);
        if (std::optional<Problem> p = partlyRead(Table::Nodes, i, row, id, m.low))
            return refuse(std::move(*p));
        const double load = parseLeadingNumber(row.value(node::Load));
        if (!std::isfinite(load) || load < 0)
            return refuse(at("load", QStringLiteral("节点“%1”的负荷应不小于0").arg(id)));
        const double z = m.low ? parseLeadingNumber(row.value(node::Elevation)) : 0.0;
        if (!std::isfinite(z))
            return refuse(at("elevation", QStringLiteral("节点“%1”的高程超出计算范围").arg(id)));
        const QString sourceText = row.value(node::SourcePressure);
        const bool isSource = !sourceText.trimmed().isEmpty();
        double p = 0;
        if (isSource) {
            p = parseLeadingNumber(sourceText);
            if (!std::isfinite(p) || p <= 0)
                return refuse(at("source_pressure", QStringLiteral("节点“%1”的气源压力应大于0").arg(id)));
            anySource = true;
        }
        const QString householdsText = row.value(node::Households);
        const double households = householdsText.trimmed().isEmpty() ? 0.0 : parseLeadingNumber(householdsText);
        if (!std::isfinite(households) || households < 0 || households != std::floor(households))
            return refuse(at("households", QStringLiteral("节点“%1”的户数应为不小于0的整数").arg(id)));
        if (households > kMostHouseholds)
            return refuse(at("households", QStringLiteral("节点“%1”的户数超出计算范围").arg(id)));
        char appliance = defaultAppliance;
        const QString applianceText = row.value(node::Appliance).trimmed();
        if (!applianceText.isEmpty()) {
            const std::optional<int> named = applianceOf(applianceText);
            if (!named)
                return refuse(at("appliance", QStringLiteral("节点“%1”的用具“%2”未知").arg(id, applianceText)));
            appliance = char(*named);
        }
        if (households > 0 && firstWith[std::size_t(appliance)] < 0)
            firstWith[std::size_t(appliance)] = i;
        places.push_back(placeOf(row));
        m.load.push_back(load);
        m.households.push_back(households);
        m.appliance.push_back(appliance);
        m.z.push_back(z);
        m.source.push_back(isSource);
        m.sourcePressure.push_back(p);
        const double absolute = m.gauge ? p + m.atmosphere : p;
        m.fixedPotential.push_back(m.low ? p - ((hs::kAirDensity - m.rho) * z) * hs::kGravity : absolute * absolute);
    }
    // A rated flow is needed only where households use its set.
    for (std::size_t set = 0; set < 2; ++set) {
        if (firstWith[set] < 0)
            continue;
        const QString &name = kRatedFlow[set];
        const double Qn = parseLeadingNumber(s.text(name));
        if (s.text(name).trimmed().isEmpty() || !std::isfinite(Qn) || Qn <= 0)
            return refuse(problemAt(
                Problem::Table::Settings, -1, name,
                QStringLiteral("%1额定流量应大于0（节点“%2”的住户使用%1）")
                    .arg(applianceCaptions()[qsizetype(set)], net.nodes[firstWith[set]].value(node::Id).trimmed())));
        m.ratedFlow[set] = Qn;
    }
    const std::size_t pipeCount = std::size_t(net.pipes.size());
    for (auto *v : {&m.from, &m.to, &m.material, &m.size})
        v->reserve(pipeCount);
    for (auto *v : {&m.length, &m.diameter, &m.localPercent, &m.w, &m.pathLoad})
        v->reserve(pipeCount);
    m.automatic.reserve(pipeCount);
    QHash<QString, int> pipeIds;
    pipeIds.reserve(net.pipes.size());
    for (int k = 0; k < net.pipes.size(); ++k) {
        const Row &row = net.pipes[k];
        const QString id = row.value(pipe::Id).trimmed();
        auto at = [k](const char *column, const QString &text) {
            return problemAt(Problem::Table::Pipes, k, QString::fromLatin1(column), text);
        };
        if (id.isEmpty())
            return refuse(at("pipe", QStringLiteral("管段编号为空")));
        if (pipeIds.contains(id))
            return refuse(at("pipe", QStringLiteral("管段“%1”重复").arg(id)));
        pipeIds.insert(id, k);
        if (std::optional<Problem> p = partlyRead(Table::Pipes, k, row, id, m.low))
            return refuse(std::move(*p));
        const QString fromId = row.value(pipe::From).trimmed(), toId = row.value(pipe::To).trimmed();
        const auto f = nodeIndex.constFind(fromId);
        if (f == nodeIndex.constEnd())
            return refuse(at("from", QStringLiteral("管段“%1”的起点“%2”不是节点").arg(id, fromId)));
        const auto t = nodeIndex.constFind(toId);
        if (t == nodeIndex.constEnd())
            return refuse(at("to", QStringLiteral("管段“%1”的终点“%2”不是节点").arg(id, toId)));
        if (*f == *t)
            return refuse(at("to", QStringLiteral("管段“%1”的起点与终点相同").arg(id)));
        const QString verticesCell = row.value(pipe::Vertices);
        const std::optional<QList<QPointF>> bends = readVertices(verticesCell);
        if (!bends)
            return refuse(
                at("vertices", QStringLiteral("管段“%1”的折点“%2”应为“x y;x y”").arg(id, verticesCell.trimmed())));
        // An empty length is the course's, where both ends have places.
        const QString lengthCell = row.value(pipe::Length);
        const double L = lengthCell.trimmed().isEmpty()
            ? lengthAlong(places[std::size_t(*f)], places[std::size_t(*t)], *bends, m.low).value_or(0.0)
            : parseLeadingNumber(lengthCell);
        if (!std::isfinite(L) || L <= 0)
            return refuse(at("length", QStringLiteral("管段“%1”的管长应大于0").arg(id)));
        int material = s.material;
        const QString materialText = row.value(pipe::Material).trimmed();
        if (!materialText.isEmpty()) {
            const std::optional<int> named = materialOf(materialText);
            if (!named)
                return refuse(at("material", QStringLiteral("管段“%1”的管材“%2”未知").arg(id, materialText)));
            material = *named;
        }
        const QString diameter = row.value(pipe::Diameter).trimmed();
        const bool automatic = diameter.isEmpty();
        double d = 0;
        int size = -1;
        if (isSizeName(diameter)) {
            // A size by its name, in the pipe's own material's catalogue: DN100 of steel is not of cast iron.
            const std::vector<pd::PipeSize> &sizes = m.catalogues[std::size_t(material)];
            const std::optional<std::size_t> found = pd::FindSize(sizes, diameter.toStdString());
            if (!found)
                return refuse(at("diameter",
                                 QStringLiteral("管段“%1”的管径“%2”不在%3的管材规格中")
                                     .arg(id, diameter, gas::materialOptions().value(material).caption)));
            d = sizes[*found].inner;
            size = int(*found);
        } else if (!automatic) {
            const NumberRead typed = readLeadingNumber(diameter);
            if (!typed.whole)
                return refuse(
                    at("diameter",
                       QStringLiteral("管段“%1”的管径未能完整读取：读作 %2").arg(id, formatNumber(typed.value))));
            d = typed.value;
            if (!std::isfinite(d) || d <= 0)
                return refuse(at("diameter", QStringLiteral("管段“%1”的管径应大于0").arg(id)));
        } else if (m.series[std::size_t(material)].empty()) {
            return refuse(at("diameter",
                             QStringLiteral("管段“%1”无管径可选：%2的选径系列中没有不小于最小管径的管径")
                                 .arg(id, gas::materialOptions().value(material).caption)));
        }
        double percent = a;
        if (const QString typed = row.value(pipe::LocalPercent); !typed.trimmed().isEmpty()) {
            percent = parseLeadingNumber(typed);
            if (!std::isfinite(percent) || percent < 0)
                return refuse(at("local_percent", QStringLiteral("管段“%1”的局部阻力应不小于0").arg(id)));
        }
        const double pathLoad = parseLeadingNumber(row.value(pipe::PathLoad));
        if (!std::isfinite(pathLoad) || pathLoad < 0)
            return refuse(at("path_load", QStringLiteral("管段“%1”的途泄流量应不小于0").arg(id)));
        m.from.push_back(*f);
        m.to.push_back(*t);
        m.length.push_back(L);
        m.diameter.push_back(d);
        m.size.push_back(size);
        m.localPercent.push_back(percent);
        m.w.push_back(1 + percent / 100);
        m.pathLoad.push_back(pathLoad);
        m.automatic.push_back(automatic);
        m.material.push_back(material);
    }
    if (!anySource)
        return refuse(problemAt(Problem::Table::Nodes, -1, QStringLiteral("source_pressure"),
                                QStringLiteral("管网没有气源：至少一个节点须录入气源压力")));
    return r;
}

} // namespace network
