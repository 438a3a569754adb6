#include "summary.h"

#include "calculations.h"
#include "probes.h"

#include <QFile>
#include <QList>
#include <QStringList>
#include <QThread>
#include <QtGlobal>

#include <cstdio>

bool Summary::ReportContext(const Context &)
{
    std::fputs("running the benchmarks", stderr);
    return true;
}

void Summary::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        const QString family = QString::fromStdString(run.run_name.function_name);
        m_ran.insert(family);
        if (run.error_occurred) {
            m_errors[family] = QString::fromStdString(run.error_message);
            continue;
        }
        if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") {
            std::fputc('.', stderr);
            continue;
        }
        m_milliseconds[family] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        m_counters[family] = run.counters;
    }
}

std::optional<double> Summary::milliseconds(const QString &family) const
{
    if (m_errors.contains(family))
        return std::nullopt;
    const auto it = m_milliseconds.find(family);
    return it == m_milliseconds.end() ? std::nullopt : std::optional(it->second);
}

std::optional<double> Summary::counter(const QString &family, const char *name) const
{
    if (m_errors.contains(family))
        return std::nullopt;
    const auto it = m_counters.find(family);
    if (it == m_counters.end())
        return std::nullopt;
    const auto c = it->second.find(name);
    return c == it->second.end() ? std::nullopt : std::optional(c->second.value);
}

QString Summary::error(const QString &family) const
{
    const auto it = m_errors.find(family);
    return it == m_errors.end() ? QStringLiteral("no result") : it->second;
}

namespace {

struct Row
{
    QString measure;
    QString median;
    QString limit;
    QString met;
};

const std::map<QString, QString> &screenNames()
{
    static const std::map<QString, QString> names{
        {QStringLiteral("hy"), QStringLiteral("login")},
        {QStringLiteral("xz"), QStringLiteral("main menu")},
        {QStringLiteral("xd"), QStringLiteral("low-pressure section")},
        {QStringLiteral("gyxd"), QStringLiteral("medium/high-pressure section")},
        {QStringLiteral("fxgj"), QStringLiteral("laminar diameter check")},
        {QStringLiteral("ll"), QStringLiteral("flow by non-uniformity factors")},
        {QStringLiteral("lll"), QStringLiteral("flow by simultaneity factor")},
        {QStringLiteral("yl"), QStringLiteral("allowable unit drop")},
        {QStringLiteral("yt"), QStringLiteral("additional head")},
        {QStringLiteral("jb"), QStringLiteral("indoor local loss")},
        {QStringLiteral("bh"), QStringLiteral("wall thickness")},
        {QStringLiteral("gy"), QStringLiteral("about")},
        {QStringLiteral("cs"), QStringLiteral("foreword")},
    };
    return names;
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString cpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromLatin1(line.mid(line.indexOf(':') + 1).trimmed());
        }
    }
    return QStringLiteral("unknown CPU");
}

class Table
{
public:
    explicit Table(const Summary &summary)
        : m_summary(summary)
    {}

    // A median in milliseconds against an upper limit (none when limit is 0).
    std::optional<double> time(const QString &measure, const QString &family, double limit, int decimals)
    {
        const std::optional<double> value = m_summary.milliseconds(family);
        add(measure, family, value, limit, decimals, QStringLiteral(" ms"));
        return value;
    }

    std::optional<double> mebibytes(const QString &measure, const QString &family)
    {
        std::optional<double> value = m_summary.counter(family, "KiB");
        if (value)
            *value /= 1024;
        add(measure, family, value, 0, 1, QStringLiteral(" MiB"));
        return value;
    }

    // The median of a counter of a family against an upper limit (none when limit is 0).
    std::optional<double> counted(const QString &measure, const QString &family, const char *counter, double limit,
                                  int decimals, const QString &unit)
    {
        const std::optional<double> value = m_summary.counter(family, counter);
        add(measure, family, value, limit, decimals, unit);
        return value;
    }

    // A figure computed from the medians of other families.
    void derived(const QString &measure, const QStringList &from, std::optional<double> value, double limit,
                 int decimals, const QString &unit)
    {
        for (const QString &family : from) {
            if (!m_summary.ran(family))
                return;
        }
        add(measure, QString(), value, limit, decimals, unit);
    }

    bool print() const
    {
        const QList<Row> all = QList<Row>{{QStringLiteral("measure"), QStringLiteral("median"), QStringLiteral("limit"),
                                           QStringLiteral("met")}}
            + m_rows;
        qsizetype widths[4]{};
        for (const Row &r : all) {
            widths[0] = qMax(widths[0], r.measure.size());
            widths[1] = qMax(widths[1], r.median.size());
            widths[2] = qMax(widths[2], r.limit.size());
            widths[3] = qMax(widths[3], r.met.size());
        }
        QString text;
        for (qsizetype i = 0; i < all.size(); ++i) {
            const Row &r = all[i];
            text += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                        .arg(r.measure.leftJustified(widths[0]), r.median.rightJustified(widths[1]),
                             r.limit.rightJustified(widths[2]), r.met.leftJustified(widths[3]));
            if (i == 0) {
                text += QStringLiteral("|%1|%2:|%3:|%4|\n")
                            .arg(QString(widths[0] + 2, u'-'), QString(widths[1] + 1, u'-'),
                                 QString(widths[2] + 1, u'-'), QString(widths[3] + 2, u'-'));
            }
        }
        std::fputs("\n", stderr);
        std::printf("Velmora benchmarks, medians; %d CPUs, %s, Qt %s, QT_QPA_PLATFORM=%s\n\n%s",
                    QThread::idealThreadCount(), qPrintable(cpuModel()), qVersion(),
                    qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("(default)")).toUtf8().constData(),
                    text.toUtf8().constData());
        for (const QString &e : m_errors)
            std::printf("%s\n", e.toUtf8().constData());
        std::printf(m_allMet ? "\nEvery figure is within its limit.\n" : "\nSome figure misses its limit.\n");
        return m_allMet;
    }

private:
    void add(const QString &measure, const QString &family, std::optional<double> value, double limit, int decimals,
             const QString &unit)
    {
        if (!family.isEmpty() && !m_summary.ran(family))
            return;
        Row row{measure, value ? number(*value, decimals) + unit : QStringLiteral("failed"),
                limit > 0 ? QStringLiteral("≤ ") + QString::number(limit) + unit : QString(), QString()};
        if (!value) {
            m_allMet = false;
            if (!family.isEmpty())
                m_errors << family + QStringLiteral(": ") + m_summary.error(family);
        }
        if (limit > 0) {
            const bool met = value && *value <= limit;
            row.met = met ? QStringLiteral("yes") : QStringLiteral("NO");
            m_allMet = m_allMet && met;
        }
        m_rows << row;
    }

    const Summary &m_summary;
    QList<Row> m_rows;
    QStringList m_errors;
    bool m_allMet = true;
};

} // namespace

bool printTable(const Summary &summary, bool scaled)
{
    Table table(summary);
    if (scaled) {
        for (const QString &code : {QStringLiteral("xd"), QStringLiteral("gyxd")}) {
            table.time(
                QStringLiteral("Command1_Click with its relayout and repaint, 2 device pixels a point: %1").arg(code),
                QStringLiteral("calc+events/") + code, 8, 3);
        }
        return table.print();
    }

    const QString pair = QStringLiteral("startup/pair");
    table.counted(QStringLiteral("start-up: QApplication to the login screen exposed"), pair, "program_ms", 0, 1,
                  QStringLiteral(" ms"));
    table.counted(QStringLiteral("start-up: QApplication to the same window in plain Qt exposed"), pair, "plain_ms", 0,
                  1, QStringLiteral(" ms"));
    table.counted(QStringLiteral("start-up: login screen / the same window in plain Qt, run back to back"), pair,
                  "ratio", 1.25, 2, QString());

    for (const QString &code : probe::screenCodes()) {
        table.time(QStringLiteral("first creation, after login: %1 (%2)").arg(code, screenNames().at(code)),
                   QStringLiteral("create/") + code, 15, 1);
    }
    for (const QString &code : probe::screenCodes()) {
        table.time(QStringLiteral("first creation, as a process's first window: %1").arg(code),
                   QStringLiteral("create-first/") + code, 0, 1);
    }

    for (const calculations::Case &c : calculations::cases()) {
        table.time(QStringLiteral("Command1_Click: %1 (%2)").arg(c.code, c.title), QStringLiteral("calc/") + c.code,
                   c.limitMs, 3);
    }
    for (const calculations::Case &c : calculations::cases()) {
        // The section tables: the press, its layout and its repaint within half a frame.
        table.time(QStringLiteral("Command1_Click with its relayout and repaint: %1").arg(c.code),
                   QStringLiteral("calc+events/") + c.code, c.code == u"xd" || c.code == u"gyxd" ? 8.0 : 0, 3);
    }

    for (const QString &code : {QStringLiteral("yl"), QStringLiteral("xd")}) {
        table.time(QStringLiteral("velmora-batch: 20 000 rows of %1%2, start-up included")
                       .arg(code, code == u"xd" ? QStringLiteral(" with pre-selection") : QString()),
                   QStringLiteral("batch/") + code, 1000, 0);
    }

    table.time(QStringLiteral("route table: an edit among 1 000 sections, recalculated and shown"),
               QStringLiteral("route/edit-1000"), 5, 2);
    table.time(QStringLiteral("velmora-batch route: 10 000 sections, start-up included"),
               QStringLiteral("route/batch-10000"), 1000, 0);

    table.time(QStringLiteral("velmora-batch network: looped grid, 10 200 pipes, 2 500 loops, start-up included"),
               QStringLiteral("network/grid-10000"), 150, 0);
    table.time(QStringLiteral("velmora-batch network: looped grid, 100 488 pipes, 24 964 loops"),
               QStringLiteral("network/grid-100000"), 2000, 0);
    table.counted(QStringLiteral("velmora-batch network: peak memory of the 100 488-pipe grid"),
                  QStringLiteral("network/grid-100000"), "MiB", 300, 0, QStringLiteral(" MiB"));
    table.time(QStringLiteral("velmora-batch network: tree of 10 000 pipes sized automatically"),
               QStringLiteral("network/tree-10000"), 150, 0);
    table.time(QStringLiteral("velmora-batch network: the same tree, households at every node, path loads"),
               QStringLiteral("network/tree-households-10000"), 150, 0);
    table.time(QStringLiteral("network screen: a load edited among 960 pipes, ids drawn, solved and repainted"),
               QStringLiteral("network/screen-edit-960"), 16, 1);
    table.time(QStringLiteral("network screen: a load edited among 10 200 pipes, longest wait of the window"),
               QStringLiteral("network/screen-edit-10200"), 100, 0);
    table.time(QStringLiteral("network screen: opened with a design of 10 200 pipes, until painted"),
               QStringLiteral("network/screen-open-10200"), 1000, 0);
    table.time(QStringLiteral("network screen: a pipe split in the drawing among 960, solved and repainted"),
               QStringLiteral("network/drawing-split-960"), 16, 1);
    const QString solvedOnly = QStringLiteral("network/grid-10000"),
                  withDrawing = QStringLiteral("network/grid-10000-dxf");
    const auto solveMs = summary.milliseconds(solvedOnly), drawingMs = summary.milliseconds(withDrawing);
    table.derived(QStringLiteral("velmora-batch network --export-dxf: the 10 200-pipe grid's drawing, over its solve"),
                  {solvedOnly, withDrawing}, solveMs && drawingMs ? std::optional(*drawingMs - *solveMs) : std::nullopt,
                  500, 0, QStringLiteral(" ms"));
    table.time(QStringLiteral("velmora-batch import: a DXF drawing of 10 000 pipes, snapped and labelled"),
               QStringLiteral("drawing/import-10000"), 1000, 0);

    table.time(QStringLiteral("calculation report as PDF: one screen (xd with its table)"), QStringLiteral("report/xd"),
               100, 1);
    table.time(QStringLiteral("calculation report as PDF: all nine calculation screens"), QStringLiteral("report/all"),
               300, 1);

    const auto all = table.mebibytes(QStringLiteral("peak resident memory: login and all thirteen screens open"),
                                     QStringLiteral("memory/app"));
    const auto bare
        = table.mebibytes(QStringLiteral("peak resident memory: bare dialog"), QStringLiteral("memory/dialog"));
    table.derived(QStringLiteral("peak resident memory: thirteen screens - bare dialog"),
                  {QStringLiteral("memory/app"), QStringLiteral("memory/dialog")},
                  all && bare ? std::optional(*all - *bare) : std::nullopt, 20, 1, QStringLiteral(" MiB"));
    return table.print();
}
