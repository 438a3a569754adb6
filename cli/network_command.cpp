#include "network_command.h"

#include "csv.h"
#include "design_file.h"
#include "network.h"
#include "network_columns.h"
#include "network_dxf.h"
#include "network_files.h"
#include "network_layout.h"
#include "network_options.h"
#include "number_text.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const QString kUsage
    = QStringLiteral("用法：velmora-batch network [选项] --nodes 节点.csv --pipes 管段.csv | network [选项] 管网.inp | "
                     "network 设计文件.velmora [--network 名称]; 另可 --export-inp 管网.inp、--export-dxf 图纸.dxf "
                     "[--scale 500]");

BatchRun failed(const QString &text, int status = 2)
{
    BatchRun run;
    run.status = status;
    run.error = (QStringLiteral("velmora-batch: ") + text + u'\n').toUtf8();
    return run;
}

void appendString(QByteArray &out, const QString &text)
{
    out += '"';
    const QByteArray utf8 = text.toUtf8();
    if (std::none_of(utf8.begin(), utf8.end(),
                     [](char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; })) {
        out += utf8;
        out += '"';
        return;
    }
    for (const char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

// A JSON object written member by member.
class Object
{
public:
    explicit Object(QByteArray &out)
        : m_out(out)
    {
        m_out += '{';
    }
    ~Object() { m_out += '}'; }
    QByteArray &key(const char *name)
    {
        if (!m_first)
            m_out += ", ";
        m_first = false;
        m_out += '"';
        m_out += name;
        m_out += "\": ";
        return m_out;
    }
    void number(const char *name, double v) { appendShortest(key(name), v); }
    void optional(const char *name, const std::optional<double> &v)
    {
        if (v)
            number(name, *v);
        else
            key(name) += "null";
    }
    void text(const char *name, const QString &v) { appendString(key(name), v); }
    void flag(const char *name, bool v) { key(name) += v ? "true" : "false"; }

private:
    QByteArray &m_out;
    bool m_first = true;
};

void appendValue(QByteArray &out, const network::Value &v)
{
    if (const double *number = std::get_if<double>(&v))
        appendShortest(out, *number);
    else if (const QString *text = std::get_if<QString>(&v))
        appendString(out, *text);
    else if (const bool *flag = std::get_if<bool>(&v))
        out += *flag ? "true" : "false";
    else
        out += "null";
}

// The rows of a table as JSON objects, one column a member.
void appendRows(QByteArray &out, network::Table table, const network::Result &r, network::Pressure pressure)
{
    QList<const network::Column *> columns;
    QList<QByteArray> keys;
    for (const network::Column &c : network::columns(table)) {
        if (c.serves(pressure)) {
            columns << &c;
            keys << c.key.toLatin1();
        }
    }
    const qsizetype rows = table == network::Table::Nodes ? r.nodes.size() : r.pipes.size();
    out += "[\n";
    for (qsizetype i = 0; i < rows; ++i) {
        out += i ? ",\n  " : "  ";
        Object o(out);
        for (qsizetype c = 0; c < columns.size(); ++c)
            appendValue(o.key(keys[c].constData()), columns[c]->value(r, int(i)));
    }
    out += "]";
}

QByteArray json(const network::Network &net, const network::Result &r)
{
    QByteArray out;
    out.reserve(256 + 260 * net.nodes.size() + 640 * net.pipes.size() + 64 * r.loops.size());
    {
        Object root(out);
        root.flag("converged", r.converged);
        root.number("iterations", r.iterations);
        root.text("verdict", r.verdict);
        root.optional("margin", r.margin);
        root.text("flow_rule", r.flowRule);
        root.text("worst_node", r.worstNode >= 0 ? r.nodes[r.worstNode].id : QString());
        QByteArray &path = root.key("worst_path");
        path += '[';
        for (qsizetype i = 0; i < r.worstPath.size(); ++i) {
            if (i)
                path += ", ";
            appendString(path, r.pipes[r.worstPath[i]].id);
        }
        path += ']';
        appendRows(root.key("nodes"), network::Table::Nodes, r, net.settings.pressure);
        appendRows(root.key("pipes"), network::Table::Pipes, r, net.settings.pressure);
        root.key("loops") += "[\n";
        for (qsizetype l = 0; l < r.loops.size(); ++l) {
            const network::Loop &loop = r.loops[l];
            out += l ? ",\n  " : "  ";
            Object o(out);
            QByteArray &pipes = o.key("pipes");
            pipes += '[';
            for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
                if (i)
                    pipes += ", ";
                appendString(pipes, r.pipes[loop.pipes[i]].id);
            }
            pipes += ']';
            QByteArray &directions = o.key("directions");
            directions += '[';
            for (qsizetype i = 0; i < loop.directions.size(); ++i) {
                if (i)
                    directions += ", ";
                directions += loop.directions[i] > 0 ? "1" : "-1";
            }
            directions += ']';
            QByteArray &drops = o.key("drops");
            drops += '[';
            for (qsizetype i = 0; i < loop.pipes.size(); ++i) {
                if (i)
                    drops += ", ";
                appendShortest(drops, r.pipes[loop.pipes[i]].lawDrop);
            }
            drops += ']';
            o.number("closure", loop.closure);
            o.number("closure_percent", loop.closurePercent);
        }
        out += "]";
        const quantities::Table bill = network::quantitiesOf(r);
        Object quantities(root.key("quantities"));
        QByteArray &rows = quantities.key("rows");
        rows += '[';
        for (qsizetype i = 0; i < bill.rows.size(); ++i) {
            const quantities::Row &row = bill.rows[i];
            rows += i ? ",\n  " : "\n  ";
            Object o(out);
            o.text("material", row.materialCaption);
            o.text("size", row.size);
            o.number("diameter", row.diameter);
            o.number("length", row.length);
            o.number("pipes", row.count);
        }
        rows += ']';
        quantities.number("length", bill.length);
        quantities.number("pipes", bill.count);
    }
    out += '\n';
    return out;
}

QString csvText(const network::Value &v)
{
    if (const double *number = std::get_if<double>(&v))
        return formatNumber(*number);
    if (const QString *text = std::get_if<QString>(&v))
        return *text;
    if (const bool *flag = std::get_if<bool>(&v))
        return *flag ? QStringLiteral("1") : QStringLiteral("0");
    return {};
}

QByteArray table(const network::Network &net, const network::Result &r, const QString &which)
{
    QList<QStringList> rows;
    if (which == u"loops")
        return csv::write(network::loopRows(r));
    if (which == u"quantities")
        return csv::write(network::quantityRows(r));
    const network::Table t = which == u"nodes" ? network::Table::Nodes : network::Table::Pipes;
    QList<const network::Column *> columns;
    QStringList header;
    for (const network::Column &c : network::columns(t)) {
        if (c.serves(net.settings.pressure)) {
            columns << &c;
            header << c.key;
        }
    }
    rows << header;
    const qsizetype count = t == network::Table::Nodes ? r.nodes.size() : r.pipes.size();
    for (qsizetype i = 0; i < count; ++i) {
        QStringList row;
        for (const network::Column *c : columns)
            row << csvText(c->value(r, int(i)));
        rows << row;
    }
    return csv::write(rows);
}

std::optional<QByteArray> readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

} // namespace

BatchRun runNetwork(const QStringList &arguments, bool strict)
{
    network::Network net;
    net.settings = network::initialSettings();
    QString nodesPath, pipesPath, inpPath, csvTable, exportPath, sourcePressure, networkName, dxfPath, scaleText;
    QStringList minSizes; // --min-size, as often as it is given
    struct Text
    {
        const char *option;
        QString *into;
    };
    const Text texts[] = {{"--source-pressure", &sourcePressure},
                          {"--nodes", &nodesPath},
                          {"--pipes", &pipesPath},
                          {"--csv", &csvTable},
                          {"--export-inp", &exportPath},
                          {"--network", &networkName},
                          {"--export-dxf", &dxfPath},
                          {"--scale", &scaleText}};
    QString option, value, missing;
    for (qsizetype i = 0; nextArgument(arguments, i, option, value, &missing, {QStringLiteral("--gauge")});) {
        if (option.isEmpty()) {
            if (!inpPath.isEmpty())
                return failed(kUsage);
            inpPath = value;
            continue;
        }
        // A switch: medium/high pressures typed as gauge.
        if (option == u"--gauge") {
            net.settings.setText(gas::kPressureBasis, gas::kGauge);
            continue;
        }
        if (option == u"--min-size") {
            minSizes << value;
            continue;
        }
        QString error;
        if (settingOption(net.settings, network::textSettings(), option, value, &error)) {
            if (!error.isEmpty())
                return failed(error);
            continue;
        }
        const auto text = std::find_if(std::begin(texts), std::end(texts),
                                       [&option](const Text &t) { return option == QLatin1String(t.option); });
        if (text == std::end(texts))
            return failed(QStringLiteral("未知的选项“%1”；").arg(option) + kUsage);
        *text->into = value;
    }
    if (!missing.isEmpty())
        return failed(missing);
    if (!minSizes.isEmpty())
        net.settings.setText(network::kMinSize, minSizes.join(QStringLiteral(", ")));
    if (!csvTable.isEmpty() && csvTable != u"nodes" && csvTable != u"pipes" && csvTable != u"loops"
        && csvTable != u"quantities")
        return failed(QStringLiteral("--csv 应为 nodes、pipes、loops 或 quantities，而不是“%1”").arg(csvTable));
    double scale = 500;
    if (!scaleText.isEmpty()) {
        const NumberRead read = readLeadingNumber(scaleText);
        if (!read.whole || !(read.value >= 1) || !std::isfinite(read.value))
            return failed(
                QStringLiteral("--scale 应为不小于1的比例分母（如 500 即 1:500），而不是“%1”").arg(scaleText));
        scale = read.value;
    }

    // Where each row came from, to name the line of a problem.
    QString nodesFile = nodesPath, pipesFile = pipesPath;
    dxf::TitleBlock title;
    QList<int> nodeLines, pipeLines;
    QString error;
    if (inpPath.endsWith(QLatin1String(".velmora"), Qt::CaseInsensitive)) {
        // A design file: its network screen, settings included.
        if (!nodesPath.isEmpty() || !pipesPath.isEmpty() || !sourcePressure.isEmpty())
            return failed(kUsage);
        const std::optional<QByteArray> bytes = readFile(inpPath, &error);
        if (!bytes)
            return failed(error);
        const design::Read read = design::read(*bytes);
        if (!read.ok())
            return failed(QStringLiteral("%1：%2").arg(inpPath, read.error));
        const QList<design::NamedNetwork> networks = design::networksOf(read.design.screens.value(network::kCode));
        const auto named = std::find_if(networks.begin(), networks.end(), [&networkName](const auto &n) {
            return networkName.isEmpty() || n.name == networkName;
        });
        if (named == networks.end()) {
            QStringList names;
            for (const design::NamedNetwork &n : networks)
                names << n.name;
            return failed(QStringLiteral("%1：没有名为“%2”的管网（有：%3）").arg(inpPath, networkName, names.join(u'、')));
        }
        net = named->network;
        title.title = named->name + QStringLiteral(" 水力计算图");
        for (qsizetype i = 0; i < net.nodes.size(); ++i)
            nodeLines << int(i + 1);
        for (qsizetype i = 0; i < net.pipes.size(); ++i)
            pipeLines << int(i + 1);
        nodesFile = inpPath + QStringLiteral(" 节点");
        pipesFile = inpPath + QStringLiteral(" 管段");
    } else if (!networkName.isEmpty()) {
        return failed(QStringLiteral("--network 只用于设计文件（.velmora）"));
    } else if (!inpPath.isEmpty()) {
        if (!nodesPath.isEmpty() || !pipesPath.isEmpty())
            return failed(kUsage);
        const std::optional<QByteArray> bytes = readFile(inpPath, &error);
        if (!bytes)
            return failed(error);
        const network::InpRead read = network::fromInp(*bytes, net.settings.pressure, sourcePressure);
        if (!read.error.isEmpty())
            return failed(QStringLiteral("%1：%2").arg(inpPath, read.error));
        if (read.sourcesWithoutPressure > 0)
            return failed(QStringLiteral("%1：%2个气源没有压力，须给出气源压力（--source-pressure）")
                              .arg(inpPath)
                              .arg(read.sourcesWithoutPressure));
        net.nodes = read.nodes;
        net.pipes = read.pipes;
        nodeLines = read.nodeLines;
        pipeLines = read.pipeLines;
        nodesFile = pipesFile = inpPath;
    } else {
        if (nodesPath.isEmpty() || pipesPath.isEmpty())
            return failed(kUsage);
        if (!sourcePressure.isEmpty())
            return failed(QStringLiteral("--source-pressure 只用于 .inp 文件；CSV 的气源压力在 source_pressure 列"));
        for (const auto &[path, table, lines, rows] :
             {std::tuple{nodesPath, network::Table::Nodes, &nodeLines, &net.nodes},
              std::tuple{pipesPath, network::Table::Pipes, &pipeLines, &net.pipes}}) {
            const std::optional<QByteArray> bytes = readFile(path, &error);
            if (!bytes)
                return failed(error);
            const network::TableRead read = network::tableFromCsv(*bytes, table);
            if (!read.error.isEmpty())
                return failed(QStringLiteral("%1：%2").arg(path, read.error));
            if (strict) {
                const csv::Table csvTable = csv::read(*bytes).table;
                const network::Table which = table;
                const QString cell = csv::partlyReadCell(csvTable, [&csvTable, which](qsizetype i) {
                    return network::isNumberColumn(which, network::typedColumnOf(which, csvTable.rows.front().value(i)));
                });
                if (!cell.isEmpty())
                    return failed(QStringLiteral("%1：%2").arg(path, cell));
            }
            *rows = read.rows;
            *lines = read.lines;
        }
    }

    const network::Result result = network::solve(net);
    if (result.refused) {
        const network::Problem &p = *result.refused;
        QString where;
        if (p.table == network::Problem::Table::Nodes && p.row >= 0 && p.row < nodeLines.size())
            where = QStringLiteral("%1 第%2行：").arg(nodesFile).arg(nodeLines[p.row]);
        else if (p.table == network::Problem::Table::Pipes && p.row >= 0 && p.row < pipeLines.size())
            where = QStringLiteral("%1 第%2行：").arg(pipesFile).arg(pipeLines[p.row]);
        else if (p.table == network::Problem::Table::Settings)
            where = QStringLiteral("设置 %1：").arg(p.column);
        return failed(where + p.text);
    }
    if (!result.converged)
        return failed(result.failure, 1);
    for (const auto &[path, drawing] : {std::pair{exportPath, false}, std::pair{dxfPath, true}}) {
        if (path.isEmpty())
            continue;
        QSaveFile file(path);
        const QByteArray bytes = drawing ? dxf::write(dxf::drawingOf(result, network::layOut(result), scale, title))
                                         : network::toInp(net, result);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0 || !file.commit())
            return failed(QStringLiteral("无法写入“%1”：%2").arg(path, file.errorString()));
    }
    BatchRun run;
    run.output = csvTable.isEmpty() ? json(net, result) : table(net, result, csvTable);
    return run;
}
