#include "network_read.h"

#include "hs.h"
#include "network_geometry.h"
#include "network_options.h"
#include "number_text.h"

#include <QHash>

#include <cmath>

namespace network {

namespace {

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
    const double w = 1 + a / 100;

    const std::size_t nodeCount = std::size_t(net.nodes.size());
    m.load.reserve(nodeCount);
    m.z.reserve(nodeCount);
    m.source.reserve(nodeCount);
    m.sourcePressure.reserve(nodeCount);
    m.fixedPotential.reserve(nodeCount);
    QHash<QString, int> nodeIndex;
    nodeIndex.reserve(net.nodes.size());
    std::vector<std::optional<QPointF>> places;
    places.reserve(nodeCount);
    bool anySource = false;
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
        places.push_back(placeOf(row));
        m.load.push_back(load);
        m.z.push_back(z);
        m.source.push_back(isSource);
        m.sourcePressure.push_back(p);
        m.fixedPotential.push_back(m.low ? p - ((hs::kAirDensity - m.rho) * z) * hs::kGravity : p * p);
    }
    const std::size_t pipeCount = std::size_t(net.pipes.size());
    for (auto *v : {&m.from, &m.to, &m.material})
        v->reserve(pipeCount);
    for (auto *v : {&m.length, &m.diameter, &m.w})
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
        const QString diameter = row.value(pipe::Diameter);
        const bool automatic = diameter.trimmed().isEmpty();
        const double d = automatic ? 0 : parseLeadingNumber(diameter);
        if (!automatic && (!std::isfinite(d) || d <= 0))
            return refuse(at("diameter", QStringLiteral("管段“%1”的管径应大于0").arg(id)));
        int material = s.material;
        const QString materialText = row.value(pipe::Material).trimmed();
        if (!materialText.isEmpty()) {
            const std::optional<int> named = materialOf(materialText);
            if (!named)
                return refuse(at("material", QStringLiteral("管段“%1”的管材“%2”未知").arg(id, materialText)));
            material = *named;
        }
        m.from.push_back(*f);
        m.to.push_back(*t);
        m.length.push_back(L);
        m.diameter.push_back(d);
        m.w.push_back(w);
        m.automatic.push_back(automatic);
        m.material.push_back(material);
    }
    if (!anySource)
        return refuse(problemAt(Problem::Table::Nodes, -1, QStringLiteral("source_pressure"),
                                QStringLiteral("管网没有气源：至少一个节点须录入气源压力")));
    return r;
}

} // namespace network
