#include "report_bench.h"

#include "calculation.h"
#include "design_file.h"
#include "report.h"
#include "worked_cases.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

namespace reportbench {

namespace {

// The worked case of every calculation screen, as a design file holds it.
QMap<QString, design::Values> workedDesign(const QString &only)
{
    QMap<QString, design::Values> screens;
    for (const WorkedInputs &w : workedInputs()) {
        const QString code = QString::fromLatin1(w.code);
        if (!only.isEmpty() && code != only)
            continue;
        const calc::Calculation *c = calc::find(code);
        design::Values values = design::valuesOf(*c, c->initialInput());
        for (const auto &[field, text] : w.fields)
            values[QString::fromLatin1(field)] = QString::fromLatin1(text);
        for (const char *click : w.clicks)
            values[QString::fromLatin1(click)] = true;
        screens.insert(code, values);
    }
    return screens;
}

void writeReport(benchmark::State &state, const QString &only)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    const QMap<QString, design::Values> screens = workedDesign(only);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const report::Report r = report::fromDesign(QStringLiteral("bench.velmora"), screens);
        QString error;
        if (!report::writePdf(r, path, &error)) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

} // namespace

void registerBenchmarks(int samples)
{
    benchmark::RegisterBenchmark("report/xd", [](benchmark::State &state) { writeReport(state, QStringLiteral("xd")); })
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("report/all", [](benchmark::State &state) { writeReport(state, QString()); })
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
}

} // namespace reportbench
