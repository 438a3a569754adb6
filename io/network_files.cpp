#include "network_files.h"

#include "csv.h"
#include "network_options.h"
#include "number_text.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace network {

TableRead tableFromCsv(const QByteArray &bytes, const QStringList &keys)
{
    TableRead r;
    csv::ReadResult read = csv::read(bytes);
    if (!read.ok()) {
        r.error = read.error;
        return r;
    }
    csv::Table &table = read.table;
    if (table.rows.isEmpty()) {
        r.error = QStringLiteral("第1行：没有表头");
        return r;
    }
    QList<int> columns;
    for (const QString &cell : table.rows.front()) {
        const int column = int(keys.indexOf(cell.trimmed()));
        if (column < 0) {
            r.error = QStringLiteral("第%1行：未知的列“%2”").arg(table.lines.front()).arg(cell);
            return r;
        }
        if (columns.contains(column)) {
            r.error = QStringLiteral("第%1行：列“%2”重复").arg(table.lines.front()).arg(cell);
            return r;
        }
        columns << column;
    }
    r.rows.reserve(table.rows.size());
    r.lines.reserve(table.rows.size());
    for (qsizetype i = 1; i < table.rows.size(); ++i) {
        QStringList &row = table.rows[i];
        if (row.size() > columns.size()) {
            r.error = QStringLiteral("第%1行：单元格多于表头（%2 > %3）")
                          .arg(table.lines[i])
                          .arg(row.size())
                          .arg(columns.size());
            r.rows.clear();
            r.lines.clear();
            return r;
        }
        QStringList typed(keys.size());
        for (qsizetype c = 0; c < row.size(); ++c)
            typed[columns[c]] = std::move(row[c]);
        r.rows << std::move(typed);
        r.lines << table.lines[i];
    }
    return r;
}

QList<NodeRow> nodeRows(const QList<QStringList> &rows)
{
    QList<NodeRow> nodes;
    nodes.reserve(rows.size());
    for (const QStringList &c : rows)
        nodes << nodeRowOf(c);
    return nodes;
}

QList<PipeRow> pipeRows(const QList<QStringList> &rows)
{
    QList<PipeRow> pipes;
    pipes.reserve(rows.size());
    for (const QStringList &c : rows)
        pipes << pipeRowOf(c);
    return pipes;
}

namespace {

// An EPANET number: a plain decimal, read whole.
std::optional<double> inpNumber(const QString &text)
{
    const NumberRead read = readLeadingNumber(text);
    if (!read.whole || text.trimmed().isEmpty() || !std::isfinite(read.value))
        return std::nullopt;
    return read.value;
}

} // namespace

InpRead fromInp(const QByteArray &bytes, Pressure pressure, const QString &sourcePressure)
{
    InpRead r;
    auto refuse = [&r](int line, const QString &problem) {
        r = InpRead{};
        r.error = QStringLiteral("第%1行：%2").arg(line).arg(problem);
        return r;
    };
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));

    struct Junction
    {
        QString id;
        double elevation = 0;
        double demand = 0;
        bool source = false;
        int line = 0;
    };
    QList<Junction> nodes;
    QHash<QString, int> nodeIndex;
    struct Link
    {
        QString id, from, to;
        double length = 0, diameter = 0;
        bool closed = false;
        QString material;
        int line = 0;
    };
    QList<Link> links;
    QHash<QString, int> linkIndex;
    QList<std::pair<int, QStringList>> demands, statuses, coordinates, tags;
    double toCubicMetresPerHour = 1;
    QString section;
    const QSet<QString> refused{QStringLiteral("[PUMPS]"), QStringLiteral("[VALVES]"), QStringLiteral("[TANKS]")};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        QString line = lines[i];
        if (const qsizetype comment = line.indexOf(u';'); comment >= 0)
            line.truncate(comment);
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'[')) {
            section = line.toUpper();
            continue;
        }
        const QStringList f = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (refused.contains(section))
            return refuse(lineNumber, QStringLiteral("不支持 %1（泵、阀门和水池）").arg(section));
        auto need = [&](qsizetype count) { return f.size() >= count; };
        if (section == u"[JUNCTIONS]" || section == u"[RESERVOIRS]") {
            const bool source = section == u"[RESERVOIRS]";
            if (!need(2))
                return refuse(lineNumber, QStringLiteral("节点数据不全"));
            const std::optional<double> elevation = inpNumber(f[1]);
            std::optional<double> demand = 0.0;
            if (!source && f.size() > 2)
                demand = inpNumber(f[2]);
            if (!elevation || !demand)
                return refuse(lineNumber, QStringLiteral("节点“%1”的数值无效").arg(f[0]));
            if (nodeIndex.contains(f[0]))
                return refuse(lineNumber, QStringLiteral("节点“%1”重复").arg(f[0]));
            nodeIndex.insert(f[0], int(nodes.size()));
            nodes << Junction{f[0], *elevation, *demand, source, lineNumber};
        } else if (section == u"[PIPES]") {
            if (!need(5))
                return refuse(lineNumber, QStringLiteral("管段数据不全"));
            const std::optional<double> length = inpNumber(f[3]), diameter = inpNumber(f[4]);
            if (!length || !diameter)
                return refuse(lineNumber, QStringLiteral("管段“%1”的数值无效").arg(f[0]));
            if (linkIndex.contains(f[0]))
                return refuse(lineNumber, QStringLiteral("管段“%1”重复").arg(f[0]));
            const bool closed = f.size() > 7 && f[7].compare(QStringLiteral("CLOSED"), Qt::CaseInsensitive) == 0;
            linkIndex.insert(f[0], int(links.size()));
            links << Link{f[0], f[1], f[2], *length, *diameter, closed, QString(), lineNumber};
        } else if (section == u"[DEMANDS]") {
            demands << std::pair{lineNumber, f};
        } else if (section == u"[STATUS]") {
            statuses << std::pair{lineNumber, f};
        } else if (section == u"[COORDINATES]") {
            coordinates << std::pair{lineNumber, f};
        } else if (section == u"[TAGS]") {
            tags << std::pair{lineNumber, f};
        } else if (section == u"[OPTIONS]") {
            if (f.size() >= 2 && f[0].compare(QStringLiteral("UNITS"), Qt::CaseInsensitive) == 0) {
                static const QHash<QString, double> units{{QStringLiteral("CMH"), 1},
                                                          {QStringLiteral("LPS"), 3.6},
                                                          {QStringLiteral("LPM"), 0.06},
                                                          {QStringLiteral("MLD"), 1000.0 / 24},
                                                          {QStringLiteral("CMD"), 1.0 / 24}};
                const auto unit = units.constFind(f[1].toUpper());
                if (unit == units.constEnd())
                    return refuse(lineNumber,
                                  QStringLiteral("不支持流量单位 %1（应为 CMH、LPS、LPM、MLD 或 CMD）").arg(f[1]));
                toCubicMetresPerHour = *unit;
            }
        }
    }
    for (const auto &[lineNumber, f] : demands) {
        if (f.size() < 2)
            return refuse(lineNumber, QStringLiteral("用气量数据不全"));
        const auto node = nodeIndex.constFind(f[0]);
        const std::optional<double> demand = inpNumber(f[1]);
        if (node == nodeIndex.constEnd() || !demand)
            return refuse(lineNumber, QStringLiteral("用气量的节点或数值无效"));
        nodes[*node].demand += *demand;
    }
    for (const auto &[lineNumber, f] : statuses) {
        const auto link = f.isEmpty() ? linkIndex.constEnd() : linkIndex.constFind(f[0]);
        if (link != linkIndex.constEnd() && f.size() >= 2)
            links[*link].closed = f[1].compare(QStringLiteral("CLOSED"), Qt::CaseInsensitive) == 0;
    }
    for (const auto &[lineNumber, f] : tags) {
        if (f.size() >= 3 && f[0].compare(QStringLiteral("LINK"), Qt::CaseInsensitive) == 0) {
            if (const auto link = linkIndex.constFind(f[1]); link != linkIndex.constEnd())
                links[*link].material = f[2];
        }
    }
    QHash<QString, std::pair<QString, QString>> places;
    for (const auto &[lineNumber, f] : coordinates) {
        if (f.size() < 3 || !inpNumber(f[1]) || !inpNumber(f[2]))
            return refuse(lineNumber, QStringLiteral("坐标数据无效"));
        places.insert(f[0], {f[1], f[2]});
    }
    bool anySource = false;
    for (const Junction &j : nodes) {
        anySource = anySource || j.source;
        const auto place = places.value(j.id);
        r.nodes << NodeRow{j.id,
                           formatShortest(j.demand * toCubicMetresPerHour),
                           formatShortest(j.elevation),
                           place.first,
                           place.second,
                           j.source ? sourcePressure : QString()};
        r.nodeLines << j.line;
    }
    if (anySource && sourcePressure.trimmed().isEmpty())
        return refuse(1, QStringLiteral("须给出气源压力（--source-pressure）"));
    for (const Link &l : links) {
        if (l.closed)
            continue;
        const double length = pressure == Pressure::High ? l.length / 1000 : l.length;
        r.pipes << PipeRow{l.id, l.from, l.to, formatShortest(length), formatShortest(l.diameter), l.material};
        r.pipeLines << l.line;
    }
    return r;
}

QByteArray toInp(const Network &network, const QList<double> &diameters)
{
    const bool high = network.settings.pressure == Pressure::High;
    QString out = QStringLiteral("[TITLE]\nVelmora\n\n[OPTIONS]\nUNITS CMH\n\n[RESERVOIRS]\n;ID\tHead\n");
    auto numberOf = [](const QString &text) { return formatShortest(parseLeadingNumber(text)); };
    for (const NodeRow &n : network.nodes) {
        if (!n.sourcePressure.trimmed().isEmpty())
            out += n.node.trimmed() + u'\t' + numberOf(n.elevation) + u'\n';
    }
    out += QStringLiteral("\n[JUNCTIONS]\n;ID\tElev\tDemand\n");
    for (const NodeRow &n : network.nodes) {
        if (n.sourcePressure.trimmed().isEmpty())
            out += n.node.trimmed() + u'\t' + numberOf(n.elevation) + u'\t' + numberOf(n.load) + u'\n';
    }
    out += QStringLiteral("\n[DEMANDS]\n;Node\tDemand\n");
    for (const NodeRow &n : network.nodes) {
        if (!n.sourcePressure.trimmed().isEmpty() && parseLeadingNumber(n.load) > 0)
            out += n.node.trimmed() + u'\t' + numberOf(n.load) + u'\n';
    }
    out += QStringLiteral("\n[PIPES]\n;ID\tNode1\tNode2\tLength\tDiameter\tRoughness\tMinorLoss\tStatus\n");
    for (qsizetype k = 0; k < network.pipes.size(); ++k) {
        const PipeRow &p = network.pipes[k];
        const double length = parseLeadingNumber(p.length) * (high ? 1000 : 1);
        const double d = k < diameters.size() ? diameters[k] : parseLeadingNumber(p.diameter);
        out += p.pipe.trimmed() + u'\t' + p.from.trimmed() + u'\t' + p.to.trimmed() + u'\t' + formatShortest(length)
            + u'\t' + formatShortest(d) + QStringLiteral("\t100\t0\tOpen\n");
    }
    out += QStringLiteral("\n[TAGS]\n");
    for (const PipeRow &p : network.pipes) {
        if (!p.material.trimmed().isEmpty())
            out += QStringLiteral("LINK\t") + p.pipe.trimmed() + u'\t' + p.material.trimmed() + u'\n';
    }
    out += QStringLiteral("\n[COORDINATES]\n;Node\tX\tY\n");
    for (const NodeRow &n : network.nodes) {
        if (!n.x.trimmed().isEmpty() && !n.y.trimmed().isEmpty())
            out += n.node.trimmed() + u'\t' + numberOf(n.x) + u'\t' + numberOf(n.y) + u'\n';
    }
    out += QStringLiteral("\n[END]\n");
    return out.toUtf8();
}

} // namespace network
