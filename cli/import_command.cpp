#include "import_command.h"

#include "csv.h"
#include "drawing_import.h"
#include "number_text.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <memory>

namespace {

const QString kUsage = QStringLiteral(
    "用法：velmora-batch import 图形文件 [--layer 图层]... [--snap 米] [--units m|mm|cm|km] [--label-distance 米] "
    "[--pressure low|high] [--diameter-field 字段] [--material-field 字段] [--id-field 字段] "
    "--nodes-out 节点.csv --pipes-out 管段.csv");

BatchRun failed(const QString &text)
{
    BatchRun run;
    run.status = 2;
    run.error = (QStringLiteral("velmora-batch: ") + text + u'\n').toUtf8();
    return run;
}

QByteArray json(const drawing::Report &r)
{
    QJsonObject leftOut;
    for (auto it = r.leftOut.cbegin(); it != r.leftOut.cend(); ++it)
        leftOut.insert(it.key(), it.value());
    const QJsonObject root{{"lines", r.lines},
                           {"nodes", r.nodes},
                           {"pipes", r.pipes},
                           {"merged_ends", r.mergedEnds},
                           {"tees", r.tees},
                           {"dangling", r.dangling},
                           {"dropped", r.dropped},
                           {"parts", r.parts},
                           {"length_labels_differ", r.lengthLabelsDiffer},
                           {"left_out", leftOut},
                           {"total_length", r.totalLength},
                           {"units", r.units}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

// A distance in metres: a whole number, not negative.
std::optional<double> metres(const QString &text)
{
    const NumberRead read = readLeadingNumber(text);
    if (text.trimmed().isEmpty() || !read.whole || !(read.value >= 0))
        return std::nullopt;
    return read.value;
}

} // namespace

BatchRun runImport(const QStringList &arguments)
{
    drawing::Options options;
    QString path, nodesPath, pipesPath;
    QString option, value, missing;
    for (qsizetype i = 0; nextArgument(arguments, i, option, value, &missing);) {
        if (option.isEmpty()) {
            if (!path.isEmpty())
                return failed(kUsage);
            path = value;
            continue;
        }
        if (option == u"--layer") {
            options.layers << value;
        } else if (option == u"--snap" || option == u"--label-distance") {
            const std::optional<double> m = metres(value);
            if (!m)
                return failed(QStringLiteral("%1 应为不小于0的米数，而不是“%2”").arg(option, value));
            (option == u"--snap" ? options.snap : options.labelDistance) = *m;
        } else if (option == u"--units") {
            options.metresPerUnit = drawing::metresPerUnit(value);
            if (!options.metresPerUnit)
                return failed(QStringLiteral("--units 应为 m、mm、cm 或 km，而不是“%1”").arg(value));
        } else if (option == u"--pressure") {
            if (value == u"low")
                options.pressure = network::Pressure::Low;
            else if (value == u"high")
                options.pressure = network::Pressure::High;
            else
                return failed(QStringLiteral("--pressure 应为 low 或 high，而不是“%1”").arg(value));
        } else if (option == u"--diameter-field") {
            options.diameterField = value;
        } else if (option == u"--material-field") {
            options.materialField = value;
        } else if (option == u"--id-field") {
            options.idField = value;
        } else if (option == u"--nodes-out") {
            nodesPath = value;
        } else if (option == u"--pipes-out") {
            pipesPath = value;
        } else {
            return failed(QStringLiteral("未知的选项“%1”；").arg(option) + kUsage);
        }
    }
    if (!missing.isEmpty())
        return failed(missing);
    if (path.isEmpty() || nodesPath.isEmpty() || pipesPath.isEmpty())
        return failed(kUsage);

    const drawing::Import import = drawing::importDrawing(path, options);
    if (!import.ok())
        return failed(import.error);

    // Both tables are written whole or not at all, and only once the drawing was read.
    QSaveFile nodes(nodesPath), pipes(pipesPath);
    for (const auto &[file, rows] :
         {std::pair{&nodes, drawing::nodeTable(import)}, std::pair{&pipes, drawing::pipeTable(import)}}) {
        if (!file->open(QIODevice::WriteOnly) || file->write(csv::write(rows, true)) < 0)
            return failed(QStringLiteral("无法写入“%1”：%2").arg(file->fileName(), file->errorString()));
    }
    for (QSaveFile *file : {&nodes, &pipes}) {
        if (!file->commit())
            return failed(QStringLiteral("无法写入“%1”：%2").arg(file->fileName(), file->errorString()));
    }
    BatchRun run;
    run.output = json(import.report);
    return run;
}
