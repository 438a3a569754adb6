#include "route_bench.h"

#include "route/route_model.h"
#include "route/route_screen.h"
#include "screen_factory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace routebench {

namespace {

QList<route::Section> sections(int count)
{
    QList<route::Section> list;
    for (int i = 0; i < count; ++i) {
        // Every fourth section has its diameter given; the others are sized.
        list.append({QString::number(i + 1), QString::number(20 + i % 50), QString::number(5 + (i * 7) % 90),
                     QString::number((i % 5) - 2), i % 4 == 0 ? QStringLiteral("100") : QString()});
    }
    return list;
}

void recalculate(benchmark::State &state)
{
    std::unique_ptr<Screen> screen(createScreen(QStringLiteral("gw")));
    auto *gw = static_cast<RouteScreen *>(screen.get());
    for (const auto &[name, text] : {std::pair{"density", "0.72"}, std::pair{"viscosity", "1.5E-5"},
                                     std::pair{"temperature", "288"}, std::pair{"allowableDrop", "20000"}})
        gw->findChild<QLineEdit *>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    RouteModel *model = gw->model();
    model->setSections(sections(1000));
    gw->show();
    QCoreApplication::processEvents();
    const QModelIndex cell = model->index(0, route::Flow);
    const QString values[2]{QStringLiteral("50"), QStringLiteral("60")};
    int next = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        model->setData(cell, values[next]);
        QCoreApplication::processEvents();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        next = 1 - next;
    }
    screen->closeForExit();
}

QString writeRoute(int count)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("route.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("section,length,flow,rise,diameter\n");
    for (const route::Section &s : sections(count))
        file.write(QStringList{s.name, s.length, s.flow, s.rise, s.diameter}.join(u',').toUtf8() + '\n');
    return path;
}

void commandLine(benchmark::State &state, const QString &table)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../velmora-batch");
    for (auto _ : state) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer timer;
        timer.start();
        process.start(program,
                      {QStringLiteral("route"), QStringLiteral("--density"), QStringLiteral("0.72"),
                       QStringLiteral("--viscosity"), QStringLiteral("1.5E-5"), QStringLiteral("--temperature"),
                       QStringLiteral("288"), QStringLiteral("--allowable-drop"), QStringLiteral("200000"), table});
        if (!process.waitForFinished(60000) || process.exitCode() != 0) {
            state.SkipWithError("velmora-batch route failed");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
    }
}

} // namespace

void registerBenchmarks(int samples)
{
    benchmark::RegisterBenchmark("route/edit-1000", recalculate)
        ->UseManualTime()
        ->Iterations(20)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
    const QString table = writeRoute(10000);
    benchmark::RegisterBenchmark("route/batch-10000", [table](benchmark::State &state) { commandLine(state, table); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
}

} // namespace routebench
