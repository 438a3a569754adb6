#include "batch.h"

#include "calculation.h"
#include "csv.h"
#include "design_file.h"
#include "import_command.h"
#include "network_command.h"
#include "report.h"
#include "route.h"
#include "route_csv.h"
#include "route_options.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

const QString kUsage = QStringLiteral("用法：velmora-batch --list | --fields 代号 | 代号 [--table] [文件.csv] | "
                                      "route [选项] [文件.csv] | network [选项] ... | import 图形文件 [选项] ... | "
                                      "report 设计文件.velmora 计算书.pdf；"
                                      "加 --strict 则拒绝未整个读作数的数字单元格");

const QString kMessageColumn = QStringLiteral("message");

struct Failure
{
    QString text;
};

BatchRun failed(const QString &text)
{
    BatchRun run;
    run.status = 2;
    run.error = (QStringLiteral("velmora-batch: ") + text + u'\n').toUtf8();
    return run;
}

BatchRun succeeded(const QString &text)
{
    BatchRun run;
    run.output = text.toUtf8();
    return run;
}

bool namesCaption(const QString &header, const QString &caption)
{
    return !caption.isEmpty() && (header == caption || header == calc::bareCaption(caption));
}

enum class Kind { Text, Check, Choice };

struct Column
{
    Kind kind;
    QString key;
};

// The input that a header names: by key, by design name or by caption; a choice
// also by the design name of any of its options.
std::optional<Column> columnOf(const calc::Calculation &c, const QString &header)
{
    for (const calc::Field &f : c.fields) {
        if (header == f.key || header == f.design || namesCaption(header, f.caption))
            return Column{Kind::Text, f.key};
    }
    for (const calc::Check &k : c.checks) {
        if (header == k.key || header == k.design || namesCaption(header, k.caption))
            return Column{Kind::Check, k.key};
    }
    for (const calc::Choice &ch : c.choices) {
        if (header == ch.key || header == ch.design || namesCaption(header, ch.caption))
            return Column{Kind::Choice, ch.key};
        for (const calc::Option &o : ch.options) {
            if (header == o.design)
                return Column{Kind::Choice, ch.key};
        }
    }
    return std::nullopt;
}

QString lineText(int line, const QString &problem)
{
    return QStringLiteral("第%1行：%2").arg(line).arg(problem);
}

// A check cell: 1/0 or true/false; empty is the initial state, clear.
std::optional<bool> checkValue(const QString &cell)
{
    const QString v = cell.trimmed().toLower();
    if (v.isEmpty() || v == u"0" || v == u"false")
        return false;
    if (v == u"1" || v == u"true")
        return true;
    return std::nullopt;
}

// A choice cell: an option's design name, its caption or its position from 1; empty is the initial choice.
std::optional<int> choiceValue(const calc::Choice &choice, const QString &cell)
{
    const QString v = cell.trimmed();
    if (v.isEmpty())
        return choice.initial;
    for (std::size_t i = 0; i < choice.options.size(); ++i) {
        if (v == choice.options[i].design || (!choice.options[i].caption.isEmpty() && v == choice.options[i].caption))
            return int(i);
    }
    bool isNumber = false;
    const int position = v.toInt(&isNumber);
    if (isNumber && position >= 1 && position <= int(choice.options.size()))
        return position - 1;
    return std::nullopt;
}

QString listCalculations()
{
    QString text;
    for (const calc::Calculation &c : calc::all())
        text += c.code + u'\t' + c.title + u'\n';
    return text;
}

QString fieldLines(const calc::Calculation &c)
{
    QString text;
    auto line = [&](const char *kind, const QString &key, const QString &design, const QString &caption,
                    const QString &unit) {
        text += QString::fromLatin1(kind) + u'\t' + key + u'\t' + design + u'\t' + caption + u'\t' + unit + u'\n';
    };
    for (const calc::Field &f : c.fields)
        line("input", f.key, f.design, f.caption, f.unit);
    for (const calc::Check &k : c.checks)
        line("check", k.key, k.design, k.caption, QString());
    for (const calc::Choice &ch : c.choices) {
        QStringList options;
        for (const calc::Option &o : ch.options)
            options << (o.caption.isEmpty() ? o.design : o.design + u'=' + o.caption);
        line("choice", ch.key, options.join(u'|'), ch.caption, QString());
    }
    for (const calc::Result &r : c.results)
        line("result", r.key, r.design, r.caption, r.unit);
    for (const calc::Result &r : c.tableColumns)
        line("result", r.key, r.design, r.caption, r.unit);
    return text;
}

struct Source
{
    QByteArray bytes;
    QString error;
};

Source readSource(const QString &path, const std::function<QByteArray()> &readInput)
{
    if (path.isEmpty() || path == u"-")
        return {readInput(), QString()};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString())};
    Source source{file.readAll(), QString()};
    if (file.error() != QFileDevice::NoError)
        source.error = QStringLiteral("无法读取文件“%1”：%2").arg(path, file.errorString());
    return source;
}

// Runs every row of the table; the whole output, or the first problem met.
BatchRun runTable(const calc::Calculation &c, const csv::Table &table, bool tableRows, bool strict)
{
    if (table.rows.isEmpty())
        return failed(lineText(1, QStringLiteral("没有表头")));
    const QStringList &header = table.rows.front();
    QList<Column> columns;
    QStringList named;
    for (const QString &cell : header) {
        const std::optional<Column> column = columnOf(c, cell.trimmed());
        if (!column)
            return failed(lineText(table.lines.front(), QStringLiteral("未知的列“%1”").arg(cell)));
        if (named.contains(column->key))
            return failed(lineText(table.lines.front(), QStringLiteral("列“%1”重复").arg(cell)));
        named << column->key;
        columns << *column;
    }
    if (strict) {
        const QString cell
            = csv::partlyReadCell(table, [&columns](qsizetype i) { return columns[i].kind == Kind::Text; });
        if (!cell.isEmpty())
            return failed(cell);
    }
    // A result that only shows a caption is no column.
    QList<const calc::Result *> results;
    for (const calc::Result &r : c.results) {
        if (r.value)
            results << &r;
    }
    QList<QStringList> out;
    QStringList outHeader;
    if (tableRows) {
        outHeader << QStringLiteral("row");
        for (const calc::Result &col : c.tableColumns)
            outHeader << col.key;
    } else {
        outHeader = header;
        for (const calc::Result *r : results)
            outHeader << r->key;
    }
    outHeader << kMessageColumn;
    out << outHeader;

    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const QStringList &cells = table.rows[r];
        const int line = table.lines[r];
        if (cells.size() > header.size())
            return failed(
                lineText(line, QStringLiteral("单元格多于表头（%1 > %2）").arg(cells.size()).arg(header.size())));
        calc::Input input = c.initialInput();
        for (qsizetype i = 0; i < cells.size(); ++i) {
            const Column &column = columns[i];
            switch (column.kind) {
            case Kind::Text:
                input.texts.insert(column.key, cells[i]);
                break;
            case Kind::Check: {
                const std::optional<bool> value = checkValue(cells[i]);
                if (!value)
                    return failed(lineText(line, QStringLiteral("“%1”应为1、0、true或false").arg(cells[i])));
                input.checks.insert(column.key, *value);
                break;
            }
            case Kind::Choice: {
                const calc::Choice *choice = c.choice(column.key);
                const std::optional<int> value = choiceValue(*choice, cells[i]);
                if (!value)
                    return failed(lineText(line, QStringLiteral("“%1”不是“%2”的选项").arg(cells[i], column.key)));
                input.choices.insert(column.key, *value);
                break;
            }
            }
        }
        const calc::Outcome outcome = c.calculate(input);
        const QString message = outcome.messages.join(QStringLiteral(" | "));
        if (tableRows) {
            const QString number = QString::number(r);
            if (outcome.table.isEmpty()) {
                QStringList row{number};
                for (std::size_t k = 0; k < c.tableColumns.size(); ++k)
                    row << QString();
                out << (row << message);
            }
            for (const QStringList &tableRow : outcome.table)
                out << (QStringList{number} + tableRow << message);
        } else {
            QStringList row = cells;
            while (row.size() < header.size())
                row << QString();
            for (const calc::Result *result : results)
                row << (outcome.stopped ? QString() : outcome.results.value(result->key));
            out << (row << message);
        }
    }
    BatchRun run;
    run.output = csv::write(out);
    return run;
}

} // namespace

bool nextArgument(const QStringList &arguments, qsizetype &i, QString &option, QString &value, QString *error,
                  const QStringList &switches)
{
    if (i >= arguments.size())
        return false;
    option = arguments[i++];
    value.clear();
    if (!option.startsWith(u"--")) {
        value = option;
        option.clear();
        return true;
    }
    if (switches.contains(option))
        return true;
    if (const qsizetype eq = option.indexOf(u'='); eq > 0) {
        value = option.mid(eq + 1);
        option.truncate(eq);
    } else if (i < arguments.size()) {
        value = arguments[i++];
    } else {
        *error = QStringLiteral("选项“%1”缺少取值").arg(option);
        return false;
    }
    return true;
}

bool settingOption(gas::Settings &settings, const QList<gas::Setting> &list, const QString &option,
                   const QString &value, QString *error)
{
    if (option == u"--pressure") {
        if (value == u"low")
            settings.pressure = gas::Pressure::Low;
        else if (value == u"high")
            settings.pressure = gas::Pressure::High;
        else
            *error = QStringLiteral("--pressure 应为 low 或 high，而不是“%1”").arg(value);
        return true;
    }
    if (option == u"--material") {
        QStringList captions;
        for (const gas::NamedOption &o : gas::materialOptions())
            captions << o.caption;
        bool isNumber = false;
        const int position = value.toInt(&isNumber);
        if (isNumber && position >= 1 && position <= captions.size())
            settings.material = position - 1;
        else if (captions.contains(value.trimmed()))
            settings.material = int(captions.indexOf(value.trimmed()));
        else
            *error = QStringLiteral("--material 应为 1~3、钢管、铸铁管或塑料管，而不是“%1”").arg(value);
        return true;
    }
    const auto setting = std::find_if(list.cbegin(), list.cend(),
                                      [&option](const gas::Setting &t) { return t.option == option; });
    if (setting == list.cend())
        return false;
    if (setting->isChoice() && !setting->values.contains(value)) {
        *error = QStringLiteral("%1 应为 %2，而不是“%3”").arg(option, setting->values.join(u'|'), value);
        return true;
    }
    settings.setText(setting->name, value);
    return true;
}

namespace {

BatchRun runRoute(const QStringList &arguments, const std::function<QByteArray()> &readInput, bool strict)
{
    route::Settings settings = route::initialSettings();
    QString path;
    bool havePath = false;
    QString option, value, missing;
    for (qsizetype i = 0; nextArgument(arguments, i, option, value, &missing);) {
        if (option.isEmpty()) {
            if (havePath)
                return failed(kUsage);
            path = value;
            havePath = true;
            continue;
        }
        QString error;
        if (!settingOption(settings, route::textSettings(), option, value, &error))
            return failed(QStringLiteral("未知的选项“%1”；").arg(option) + kUsage);
        if (!error.isEmpty())
            return failed(error);
    }
    if (!missing.isEmpty())
        return failed(missing);
    if (const QString problem = route::settingsProblem(settings); !problem.isEmpty())
        return failed(problem);

    const Source source = readSource(path, readInput);
    if (!source.error.isEmpty())
        return failed(source.error);
    const route::Import import = route::sectionsFromCsv(source.bytes);
    if (!import.error.isEmpty())
        return failed(import.error);
    if (strict) {
        const csv::Table table = csv::read(source.bytes).table;
        const QString cell = csv::partlyReadCell(table, [&table](qsizetype i) {
            const std::optional<int> column = route::columnOf(table.rows.front().value(i));
            return column && *column != route::Name;
        });
        if (!cell.isEmpty())
            return failed(cell);
    }
    const QList<route::Section> &sections = import.sections;
    const route::Result result = route::calculate(settings, sections);
    BatchRun run;
    run.output = csv::write(route::tableRows(settings, sections, result));
    return run;
}

BatchRun runReport(const QStringList &arguments)
{
    if (arguments.size() != 2)
        return failed(QStringLiteral("用法：velmora-batch report 设计文件.velmora 计算书.pdf"));
    const QString &designPath = arguments[0];
    const QString &pdfPath = arguments[1];
    QFile file(designPath);
    if (!file.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("无法读取设计文件“%1”：%2").arg(designPath, file.errorString()));
    if (file.size() > design::kMaxSize)
        return failed(QStringLiteral("“%1”：文件大于64 MiB，不是设计文件").arg(designPath));
    const design::Read read = design::read(file.readAll());
    if (!read.ok())
        return failed(QStringLiteral("“%1”：%2").arg(designPath, read.error));
    const report::Report r
        = report::fromDesign(QFileInfo(designPath).fileName(), read.design.screens, read.design.project);
    QString error;
    if (!report::writePdf(r, pdfPath, &error))
        return failed(QStringLiteral("无法写入“%1”：%2").arg(pdfPath, error));
    return BatchRun{};
}

} // namespace

BatchRun runBatch(const QStringList &givenArguments, const std::function<QByteArray()> &readInput)
{
    // --strict, anywhere: a number cell whose text is not read whole is refused.
    QStringList arguments = givenArguments;
    const bool strict = arguments.removeAll(QStringLiteral("--strict")) > 0;
    if (arguments.isEmpty())
        return failed(kUsage);
    const QString first = arguments.front();
    if (first == u"--help" || first == u"-h")
        return succeeded(kUsage + u'\n');
    if (first == u"--list") {
        if (arguments.size() != 1)
            return failed(kUsage);
        return succeeded(listCalculations());
    }
    if (first == u"--fields") {
        if (arguments.size() != 2)
            return failed(kUsage);
        const calc::Calculation *c = calc::find(arguments[1]);
        if (!c)
            return failed(QStringLiteral("未知的计算代号“%1”（velmora-batch --list 列出全部）").arg(arguments[1]));
        return succeeded(fieldLines(*c));
    }
    if (first == u"route")
        return runRoute(arguments.mid(1), readInput, strict);
    if (first == u"network")
        return runNetwork(arguments.mid(1), strict);
    if (first == u"import")
        return runImport(arguments.mid(1));
    if (first == u"report")
        return runReport(arguments.mid(1));
    if (first.startsWith(u'-'))
        return failed(QStringLiteral("未知的选项“%1”；").arg(first) + kUsage);

    const calc::Calculation *c = calc::find(first);
    if (!c)
        return failed(QStringLiteral("未知的计算代号“%1”（velmora-batch --list 列出全部）").arg(first));
    bool tableRows = false;
    QString path;
    bool havePath = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == u"--table") {
            tableRows = true;
        } else if (a.startsWith(u'-') && a != u"-") {
            return failed(QStringLiteral("未知的选项“%1”；").arg(a) + kUsage);
        } else if (!havePath) {
            path = a;
            havePath = true;
        } else {
            return failed(kUsage);
        }
    }
    if (tableRows && c->tableColumns.empty())
        return failed(QStringLiteral("“%1”没有管径表，--table 只用于 xd 和 gyxd").arg(c->code));

    const Source source = readSource(path, readInput);
    if (!source.error.isEmpty())
        return failed(source.error);
    const csv::ReadResult table = csv::read(source.bytes);
    if (!table.ok())
        return failed(table.error);
    return runTable(*c, table.table, tableRows, strict);
}
