#include "network_command.h"

#include "csv.h"
#include "design_file.h"
#include "network.h"
#include "network_files.h"
#include "network_options.h"
#include "number_text.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace {

const QString kUsage
    = QStringLiteral("用法：velmora-batch network [选项] --nodes 节点.csv --pipes 管段.csv | network [选项] 管网.inp | "
                     "network 设计文件.velmora");

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

QByteArray json(const network::Network &net, const network::Result &r)
{
    const bool low = net.settings.pressure == network::Pressure::Low;
    QByteArray out;
    out.reserve(256 + 160 * net.nodes.size() + 480 * net.pipes.size() + 64 * r.loops.size());
    {
        Object root(out);
        root.flag("converged", r.converged);
        root.number("iterations", r.iterations);
        root.text("verdict", r.verdict);
        root.text("worst_node", r.worstNode >= 0 ? net.nodes[r.worstNode].node.trimmed() : QString());
        root.key("nodes") += "[\n";
        for (qsizetype i = 0; i < r.nodes.size(); ++i) {
            const network::NodeResult &n = r.nodes[i];
            out += i ? ",\n  " : "  ";
            Object o(out);
            o.text("node", net.nodes[i].node.trimmed());
            o.number("load", n.load);
            o.number("elevation", n.elevation);
            o.optional("source_pressure", n.sourcePressure);
            o.optional("supply", n.supply);
            o.optional("pressure", n.pressure);
            o.text("message", n.message);
        }
        out += "]";
        root.key("pipes") += "[\n";
        for (qsizetype k = 0; k < r.pipes.size(); ++k) {
            const network::PipeResult &p = r.pipes[k];
            out += k ? ",\n  " : "  ";
            Object o(out);
            o.text("pipe", net.pipes[k].pipe.trimmed());
            o.text("from", net.pipes[k].from.trimmed());
            o.text("to", net.pipes[k].to.trimmed());
            o.number("length", p.length);
            o.number("material", p.material + 1);
            o.number("diameter", p.diameter);
            o.flag("auto", p.automatic);
            o.number("flow", p.flow);
            o.number("unit_drop", p.unitDrop);
            o.text("message", p.message);
            if (low) {
                o.number("reynolds", p.reynolds);
                o.text("state", p.state);
                o.number("friction_drop", p.frictionDrop);
                o.number("local_drop", p.localDrop);
                o.number("gravity_head", p.gravityHead);
                o.number("pipe_drop", p.pipeDrop);
            } else {
                o.number("pipe_dp2", p.dp2);
            }
        }
        out += "]";
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
                appendString(pipes, net.pipes[loop.pipes[i]].pipe.trimmed());
            }
            pipes += ']';
            o.number("closure", loop.closure);
            o.number("closure_percent", loop.closurePercent);
        }
        out += "]";
    }
    out += '\n';
    return out;
}

QString display(double v)
{
    return formatNumber(v);
}

QString display(const std::optional<double> &v)
{
    return v ? formatNumber(*v) : QString();
}

QByteArray table(const network::Network &net, const network::Result &r, const QString &which)
{
    const bool low = net.settings.pressure == network::Pressure::Low;
    QList<QStringList> rows;
    if (which == u"nodes") {
        rows << QStringList{"node", "load", "elevation", "source_pressure", "supply", "pressure", "message"};
        for (qsizetype i = 0; i < r.nodes.size(); ++i) {
            const network::NodeResult &n = r.nodes[i];
            rows << QStringList{net.nodes[i].node.trimmed(),
                                display(n.load),
                                display(n.elevation),
                                display(n.sourcePressure),
                                display(n.supply),
                                n.pressure ? display(n.pressure) : n.message,
                                n.message};
        }
    } else if (which == u"pipes") {
        QStringList header{"pipe", "from", "to", "length", "material", "diameter", "auto", "flow", "unit_drop"};
        header << (low ? QStringList{"reynolds", "state", "friction_drop", "local_drop", "gravity_head", "pipe_drop"}
                       : QStringList{"pipe_dp2"});
        header << "message";
        rows << header;
        for (qsizetype k = 0; k < r.pipes.size(); ++k) {
            const network::PipeResult &p = r.pipes[k];
            QStringList row{net.pipes[k].pipe.trimmed(),
                            net.pipes[k].from.trimmed(),
                            net.pipes[k].to.trimmed(),
                            display(p.length),
                            QString::number(p.material + 1),
                            display(p.diameter),
                            p.automatic ? "1" : "0",
                            display(p.flow),
                            display(p.unitDrop)};
            if (low)
                row << display(p.reynolds) << p.state << display(p.frictionDrop) << display(p.localDrop)
                    << display(p.gravityHead) << display(p.pipeDrop);
            else
                row << display(p.dp2);
            row << p.message;
            rows << row;
        }
    } else {
        rows << QStringList{"loop", "pipes", "closure", "closure_percent"};
        for (qsizetype l = 0; l < r.loops.size(); ++l) {
            QStringList ids;
            for (const int k : r.loops[l].pipes)
                ids << net.pipes[k].pipe.trimmed();
            rows << QStringList{QString::number(l + 1), ids.join(u' '), display(r.loops[l].closure),
                                display(r.loops[l].closurePercent)};
        }
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
    network::Settings &s = net.settings;
    QString nodesPath, pipesPath, inpPath, csvTable, exportPath, sourcePressure;
    struct Text
    {
        const char *option;
        QString *into;
    };
    const Text texts[] = {{"--density", &s.density},
                          {"--viscosity", &s.viscosity},
                          {"--temperature", &s.temperature},
                          {"--local-percent", &s.localPercent},
                          {"--min-pressure", &s.minPressure},
                          {"--source-pressure", &sourcePressure},
                          {"--nodes", &nodesPath},
                          {"--pipes", &pipesPath},
                          {"--csv", &csvTable},
                          {"--export-inp", &exportPath}};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString option = arguments[i];
        if (!option.startsWith(u"--")) {
            if (!inpPath.isEmpty())
                return failed(kUsage);
            inpPath = option;
            continue;
        }
        QString value;
        if (const qsizetype eq = option.indexOf(u'='); eq > 0) {
            value = option.mid(eq + 1);
            option.truncate(eq);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return failed(QStringLiteral("选项“%1”缺少取值").arg(option));
        }
        if (option == u"--pressure") {
            if (value == u"low")
                s.pressure = network::Pressure::Low;
            else if (value == u"high")
                s.pressure = network::Pressure::High;
            else
                return failed(QStringLiteral("--pressure 应为 low 或 high，而不是“%1”").arg(value));
            continue;
        }
        if (option == u"--material") {
            const std::optional<int> material = network::materialOf(value);
            if (!material)
                return failed(QStringLiteral("--material 应为 1~3、钢管、铸铁管或塑料管，而不是“%1”").arg(value));
            s.material = *material;
            continue;
        }
        const auto text = std::find_if(std::begin(texts), std::end(texts),
                                       [&option](const Text &t) { return option == QLatin1String(t.option); });
        if (text == std::end(texts))
            return failed(QStringLiteral("未知的选项“%1”；").arg(option) + kUsage);
        *text->into = value;
    }
    if (!csvTable.isEmpty() && csvTable != u"nodes" && csvTable != u"pipes" && csvTable != u"loops")
        return failed(QStringLiteral("--csv 应为 nodes、pipes 或 loops，而不是“%1”").arg(csvTable));

    // Where each row came from, to name the line of a problem.
    QString nodesFile = nodesPath, pipesFile = pipesPath;
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
        net = design::networkOf(read.design.screens.value(network::kCode));
        for (qsizetype i = 0; i < net.nodes.size(); ++i)
            nodeLines << int(i + 1);
        for (qsizetype i = 0; i < net.pipes.size(); ++i)
            pipeLines << int(i + 1);
        nodesFile = inpPath + QStringLiteral(" 节点");
        pipesFile = inpPath + QStringLiteral(" 管段");
    } else if (!inpPath.isEmpty()) {
        if (!nodesPath.isEmpty() || !pipesPath.isEmpty())
            return failed(kUsage);
        const std::optional<QByteArray> bytes = readFile(inpPath, &error);
        if (!bytes)
            return failed(error);
        const network::InpRead read = network::fromInp(*bytes, s.pressure, sourcePressure);
        if (!read.error.isEmpty())
            return failed(QStringLiteral("%1：%2").arg(inpPath, read.error));
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
        for (const auto &[path, keys, lines, isNodes] :
             {std::tuple{nodesPath, network::nodeKeys(), &nodeLines, true},
              std::tuple{pipesPath, network::pipeKeys(), &pipeLines, false}}) {
            const std::optional<QByteArray> bytes = readFile(path, &error);
            if (!bytes)
                return failed(error);
            const network::TableRead read = network::tableFromCsv(*bytes, keys);
            if (!read.error.isEmpty())
                return failed(QStringLiteral("%1：%2").arg(path, read.error));
            if (strict) {
                const csv::Table table = csv::read(*bytes).table;
                const QString cell = csv::partlyReadCell(table, [&table](qsizetype i) {
                    return network::isNumberKey(table.rows.front().value(i).trimmed());
                });
                if (!cell.isEmpty())
                    return failed(QStringLiteral("%1：%2").arg(path, cell));
            }
            if (isNodes)
                net.nodes = network::nodeRows(read.rows);
            else
                net.pipes = network::pipeRows(read.rows);
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
    if (!exportPath.isEmpty()) {
        QList<double> diameters;
        for (const network::PipeResult &p : result.pipes)
            diameters << p.diameter;
        QSaveFile file(exportPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(network::toInp(net, diameters)) < 0 || !file.commit())
            return failed(QStringLiteral("无法写入“%1”：%2").arg(exportPath, file.errorString()));
    }
    BatchRun run;
    run.output = csvTable.isEmpty() ? json(net, result) : table(net, result, csvTable);
    return run;
}
