#include "batch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace batch {

namespace {

// The tables live as long as the program; each row differs from the one before.
QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString writeTable(const QString &name, const QByteArray &header, QByteArray (*row)(int))
{
    const QString path = folder().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(header);
    for (int i = 0; i < kRows; ++i)
        file.write(row(i));
    return path;
}

QByteArray allowableDropRow(int i)
{
    return QByteArray::number(2000 + i % 1000) + ",1500," + QByteArray::number(100 + i % 700) + "\n";
}

QByteArray sectionRow(int i)
{
    // Pre-selection against an allowance that moves with the flow.
    return QByteArray::number(10 + i * 0.01) + ",1.5E-5,288,0.72,1,1," + QByteArray::number(0.5 + (i % 40) * 0.1)
        + "\n";
}

void run(benchmark::State &state, const QString &code, const QString &table)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../velmora-batch");
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program, {code, table});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("velmora-batch failed");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
    }
}

} // namespace

void registerBenchmarks(int samples)
{
    const QString yl = writeTable(QStringLiteral("yl.csv"), "Text1,Text2,Text3\n", allowableDropRow);
    const QString xd = writeTable(QStringLiteral("xd.csv"),
                                  "flow,viscosity,temperature,density,modes_enabled,mode,allowable_drop\n", sectionRow);
    for (const auto &[code, table] : {std::pair{QStringLiteral("yl"), yl}, std::pair{QStringLiteral("xd"), xd}}) {
        benchmark::RegisterBenchmark(("batch/" + code).toUtf8().constData(),
                                     [code, table](benchmark::State &state) { run(state, code, table); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(samples)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace batch
