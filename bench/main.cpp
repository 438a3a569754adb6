// The benchmark program: start-up, first creation of each screen, the "计算"
// handlers and peak memory, each as a median, printed as one table.
//   velmora_bench [Google Benchmark flags]   runs everything and prints the table
//   velmora_bench --scaled [flags]           prints only the rows of a run under QT_SCALE_FACTOR=2
//   velmora_bench --probe NAME [CODE]         one fresh-process measurement (used by the above)
#include "batch.h"
#include "calculations.h"
#include "network_bench.h"
#include "offscreen.h"
#include "probes.h"
#include "report_bench.h"
#include "route_bench.h"
#include "summary.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

// Fresh processes are few and slow; the in-process handlers take many samples each.
constexpr int kStartupSamples = 51;
constexpr int kCreationSamples = 15;
constexpr int kMemorySamples = 5;
constexpr int kHandlerSamples = 15;
constexpr int kBatchSamples = 7;

void inFreshProcesses(benchmark::State &state, const QStringList &arguments, bool memory)
{
    for (auto _ : state) {
        QString error;
        const std::optional<double> value = probe::spawn(arguments, &error);
        if (!value) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        if (memory) {
            state.counters["KiB"] = *value;
            state.SetIterationTime(0);
        } else {
            state.SetIterationTime(*value * 1e-9);
        }
    }
}

// Start-up of the program and of the same login window written in plain Qt, in
// fresh processes run back to back, in turn one first and then the other, so that
// both fall in the same spell of a noisy machine; the table takes the median of
// the pairs' ratios.
void startupPair(benchmark::State &state)
{
    static int pairs = 0;
    const bool programFirst = pairs++ % 2 == 0;
    for (auto _ : state) {
        QString error;
        std::optional<double> program;
        std::optional<double> plain;
        if (programFirst) {
            program = probe::spawn({QStringLiteral("startup-app")}, &error);
            plain = program ? probe::plainLoginStartup(&error) : std::nullopt;
        } else {
            plain = probe::plainLoginStartup(&error);
            program = plain ? probe::spawn({QStringLiteral("startup-app")}, &error) : std::nullopt;
        }
        if (!program || !plain) {
            state.SkipWithError(qPrintable(error));
            break;
        }
        state.SetIterationTime((*program + *plain) * 1e-9);
        state.counters["program_ms"] = *program * 1e-6;
        state.counters["plain_ms"] = *plain * 1e-6;
        state.counters["ratio"] = *program / *plain;
    }
}

void registerFreshProcess(const QString &family, const QStringList &arguments, int samples, bool memory = false)
{
    benchmark::RegisterBenchmark(
        family.toUtf8().constData(),
        [arguments, memory](benchmark::State &state) { inFreshProcesses(state, arguments, memory); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(offscreen::quietHandler);
    if (probe::requested(argc, argv))
        return probe::run(argc, argv);

    // Samples of different kinds alternate, so that a busy moment of the machine
    // spreads over all of them instead of spoiling one figure.
    std::vector<char *> arguments;
    bool scaled = false;
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--scaled")
            scaled = true;
        else
            arguments.push_back(argv[i]);
    }
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    bool interleaveGiven = false;
    for (const char *a : arguments)
        interleaveGiven = interleaveGiven || std::string_view(a).starts_with("--benchmark_enable_random_interleaving");
    if (!interleaveGiven)
        arguments.push_back(interleave.data());
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    benchmark::Initialize(&count, arguments.data());

    QApplication app(count, arguments.data());

    benchmark::RegisterBenchmark("startup/pair", startupPair)
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(kStartupSamples)
        ->Unit(benchmark::kMillisecond);
    for (const QString &code : probe::screenCodes()) {
        registerFreshProcess(QStringLiteral("create/") + code, {QStringLiteral("create-after-login"), code},
                             kCreationSamples);
        registerFreshProcess(QStringLiteral("create-first/") + code, {QStringLiteral("create-first"), code},
                             kCreationSamples);
    }
    registerFreshProcess(QStringLiteral("memory/app"), {QStringLiteral("memory-app")}, kMemorySamples, true);
    registerFreshProcess(QStringLiteral("memory/dialog"), {QStringLiteral("memory-dialog")}, kMemorySamples, true);
    calculations::registerBenchmarks(kHandlerSamples);
    batch::registerBenchmarks(kBatchSamples);
    routebench::registerBenchmarks(kBatchSamples);
    networkbench::registerBenchmarks(kBatchSamples);
    reportbench::registerBenchmarks(kBatchSamples);

    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    calculations::tearDown();
    benchmark::Shutdown();
    return printTable(summary, scaled) ? 0 : 1;
}
