#include "network_files.h"

#include "csv.h"
#include "network_columns.h"
#include "network_geometry.h"
#include "number_text.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace network {

TableRead tableFromCsv(const QByteArray &bytes, Table which)
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
        const int column = typedColumnOf(which, cell);
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
    const int width = typedCount(which);
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
        Row typed(width);
        for (qsizetype c = 0; c < row.size(); ++c)
            typed[columns[c]] = std::move(row[c]);
        r.rows << std::move(typed);
        r.lines << table.lines[i];
    }
    return r;
}

QByteArray tableToCsv(Table table, const QList<Row> &rows)
{
    const int width = typedCount(table);
    QList<QStringList> all{typedKeys(table)};
    all.reserve(rows.size() + 1);
    for (const Row &row : rows) {
        Row cells = row;
        cells.resize(width);
        all << cells;
    }
    return csv::write(all, true);
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
        QString pressure; // a reservoir's, as the program wrote it
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
    QList<std::pair<int, QStringList>> demands, statuses, coordinates, tags, vertices;
    double toCubicMetresPerHour = 1;
    QString section;
    const QSet<QString> refused{QStringLiteral("[PUMPS]"), QStringLiteral("[VALVES]"), QStringLiteral("[TANKS]")};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int lineNumber = int(i + 1);
        QString line = lines[i];
        QString comment;
        if (const qsizetype at = line.indexOf(u';'); at >= 0) {
            comment = line.mid(at + 1);
            line.truncate(at);
        }
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
            nodes << Junction{f[0], *elevation, *demand, source, lineNumber, {}};
            if (source) {
                static const QRegularExpression written(
                    QStringLiteral("source_pressure\\s+(\\S+)\\s*(k?Pa)?"), QRegularExpression::CaseInsensitiveOption);
                const QRegularExpressionMatch m = written.match(comment);
                if (m.hasMatch()) {
                    const std::optional<double> p = inpNumber(m.captured(1));
                    if (!p || *p <= 0)
                        return refuse(lineNumber, QStringLiteral("气源“%1”的压力无效").arg(f[0]));
                    // Written in the class it was exported from: Pa at low, kPa at medium/high pressure.
                    const bool kilo = m.captured(2).compare(QStringLiteral("kPa"), Qt::CaseInsensitive) == 0;
                    const bool wantKilo = pressure == Pressure::High;
                    const double v = kilo == wantKilo ? *p : kilo ? *p * 1000 : *p / 1000;
                    nodes.back().pressure = formatShortest(v);
                }
            }
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
        } else if (section == u"[VERTICES]") {
            vertices << std::pair{lineNumber, f};
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
    // A junction's [DEMANDS] replace its demand in [JUNCTIONS]; several add up among themselves.
    QSet<int> replaced;
    for (const auto &[lineNumber, f] : demands) {
        if (f.size() < 2)
            return refuse(lineNumber, QStringLiteral("用气量数据不全"));
        const auto node = nodeIndex.constFind(f[0]);
        const std::optional<double> demand = inpNumber(f[1]);
        if (node == nodeIndex.constEnd() || !demand)
            return refuse(lineNumber, QStringLiteral("用气量的节点或数值无效"));
        if (!replaced.contains(*node)) {
            replaced.insert(*node);
            nodes[*node].demand = 0;
        }
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
    // A link's bends in the order the file lists them.
    QHash<QString, QList<QPointF>> bends;
    for (const auto &[lineNumber, f] : vertices) {
        const std::optional<double> x = f.size() >= 3 ? inpNumber(f[1]) : std::nullopt;
        const std::optional<double> y = f.size() >= 3 ? inpNumber(f[2]) : std::nullopt;
        if (!x || !y)
            return refuse(lineNumber, QStringLiteral("折点数据无效"));
        bends[f[0]].append(QPointF(*x, *y));
    }
    for (const Junction &j : nodes) {
        const auto place = places.value(j.id);
        QString source;
        if (j.source) {
            source = j.pressure.isEmpty() ? sourcePressure.trimmed() : j.pressure;
            if (source.isEmpty())
                ++r.sourcesWithoutPressure;
        }
        Row row(node::Count);
        row[node::Id] = j.id;
        row[node::Load] = formatShortest(j.demand * toCubicMetresPerHour);
        row[node::Elevation] = formatShortest(j.elevation);
        row[node::X] = place.first;
        row[node::Y] = place.second;
        row[node::SourcePressure] = source;
        r.nodes << row;
        r.nodeLines << j.line;
    }
    for (const Link &l : links) {
        if (l.closed)
            continue;
        const double length = pressure == Pressure::High ? l.length / 1000 : l.length;
        Row row(pipe::Count);
        row[pipe::Id] = l.id;
        row[pipe::From] = l.from;
        row[pipe::To] = l.to;
        row[pipe::Length] = formatShortest(length);
        row[pipe::Diameter] = formatShortest(l.diameter);
        row[pipe::Material] = l.material;
        row[pipe::Vertices] = verticesText(bends.value(l.id));
        r.pipes << row;
        r.pipeLines << l.line;
    }
    return r;
}

QByteArray toInp(const Network &network, const Result &result)
{
    const bool high = network.settings.pressure == Pressure::High;
    QString out = QStringLiteral("[TITLE]\nVelmora\n\n[OPTIONS]\nUNITS CMH\n\n[RESERVOIRS]\n;ID\tHead\n");
    auto numberOf = [](const QString &text) { return formatShortest(parseLeadingNumber(text)); };
    auto cell = [](const Row &row, int column) { return row.value(column).trimmed(); };
    const QString unit = high ? QStringLiteral("kPa") : QStringLiteral("Pa");
    for (const Row &n : network.nodes) {
        if (!cell(n, node::SourcePressure).isEmpty())
            out += cell(n, node::Id) + u'\t' + numberOf(n.value(node::Elevation)) + QStringLiteral("\t;source_pressure ")
                + numberOf(n.value(node::SourcePressure)) + u' ' + unit + u'\n';
    }
    out += QStringLiteral("\n[JUNCTIONS]\n;ID\tElev\tDemand\n");
    for (const Row &n : network.nodes) {
        if (cell(n, node::SourcePressure).isEmpty())
            out += cell(n, node::Id) + u'\t' + numberOf(n.value(node::Elevation)) + u'\t' + numberOf(n.value(node::Load))
                + u'\n';
    }
    out += QStringLiteral("\n[DEMANDS]\n;Node\tDemand\n");
    for (const Row &n : network.nodes) {
        if (!cell(n, node::SourcePressure).isEmpty() && parseLeadingNumber(n.value(node::Load)) > 0)
            out += cell(n, node::Id) + u'\t' + numberOf(n.value(node::Load)) + u'\n';
    }
    out += QStringLiteral("\n[PIPES]\n;ID\tNode1\tNode2\tLength\tDiameter\tRoughness\tMinorLoss\tStatus\n");
    const bool solved = result.solved() && result.pipes.size() == network.pipes.size();
    const bool read = result.pipes.size() == network.pipes.size();
    for (qsizetype k = 0; k < network.pipes.size(); ++k) {
        const Row &p = network.pipes[k];
        // An empty length is the course's, which the result holds even when it was not solved.
        const double typed = read && result.pipes[k].lengthFromGeometry ? result.pipes[k].length
                                                                        : parseLeadingNumber(p.value(pipe::Length));
        const double length = typed * (high ? 1000 : 1);
        const double d = solved ? result.pipes[k].diameter : parseLeadingNumber(p.value(pipe::Diameter));
        out += cell(p, pipe::Id) + u'\t' + cell(p, pipe::From) + u'\t' + cell(p, pipe::To) + u'\t'
            + formatShortest(length) + u'\t' + formatShortest(d) + QStringLiteral("\t100\t0\tOpen\n");
    }
    out += QStringLiteral("\n[TAGS]\n");
    for (const Row &p : network.pipes) {
        if (!cell(p, pipe::Material).isEmpty())
            out += QStringLiteral("LINK\t") + cell(p, pipe::Id) + u'\t' + cell(p, pipe::Material) + u'\n';
    }
    out += QStringLiteral("\n[COORDINATES]\n;Node\tX\tY\n");
    for (const Row &n : network.nodes) {
        if (!cell(n, node::X).isEmpty() && !cell(n, node::Y).isEmpty())
            out += cell(n, node::Id) + u'\t' + numberOf(n.value(node::X)) + u'\t' + numberOf(n.value(node::Y)) + u'\n';
    }
    out += QStringLiteral("\n[VERTICES]\n;Link\tX\tY\n");
    for (const Row &p : network.pipes) {
        const QString id = cell(p, pipe::Id);
        for (const QPointF &b : readVertices(p.value(pipe::Vertices)).value_or(QList<QPointF>()))
            out += id + u'\t' + formatShortest(b.x()) + u'\t' + formatShortest(b.y()) + u'\n';
    }
    out += QStringLiteral("\n[END]\n");
    return out.toUtf8();
}

} // namespace network
