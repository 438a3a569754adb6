#include "network_bench.h"

#include "csv.h"
#include "design_file.h"
#include "network_files.h"
#include "network/network_model.h"
#include "network/network_editor.h"
#include "network/network_screen.h"
#include "network/network_view.h"
#include "network_options.h"
#include "screen_factory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace networkbench {

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// The same numbers on every run.
class Numbers
{
public:
    double next(double low, double high)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return low + (high - low) * double(m_state >> 11) / double(1ULL << 53);
    }

private:
    std::uint64_t m_state = 1;
};

bool write(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

struct Files
{
    QString nodes, pipes;
};

// Mains on a square grid of side × side crossings, each main split by a service
// node in its middle; a station at every corner. 4 side (side - 1) pipes and
// (side - 1)^2 loops: 51 gives 10 200 pipes and 2 500 loops, 16 gives 960.
network::Network gridNetwork(int side)
{
    Numbers numbers;
    network::Network net;
    net.settings.setText(QStringLiteral("density"), QStringLiteral("0.72"));
    net.settings.setText(QStringLiteral("viscosity"), QStringLiteral("1.5E-5"));
    net.settings.setText(QStringLiteral("temperature"), QStringLiteral("288"));
    net.settings.setText(QStringLiteral("minPressure"), QStringLiteral("1000"));
    auto crossing = [side](int i, int j) { return QStringLiteral("c%1").arg(i * side + j); };
    const char *diameters[] = {"150", "200", "250", "300"};
    int pipeCount = 0, serviceCount = 0;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const bool corner = (i == 0 || i == side - 1) && (j == 0 || j == side - 1);
            net.nodes.append({crossing(i, j), corner ? QString() : QString::number(numbers.next(0.5, 3), 'f', 2),
                              QString::number(numbers.next(0, 20), 'f', 1), QString::number(i * 200),
                              QString::number(j * 200), corner ? QStringLiteral("3000") : QString()});
            for (const auto &[di, dj] : {std::pair{1, 0}, std::pair{0, 1}}) {
                if (i + di >= side || j + dj >= side)
                    continue;
                const QString service = QStringLiteral("s%1").arg(++serviceCount);
                net.nodes.append({service, QString::number(numbers.next(0.5, 3), 'f', 2),
                                  QString::number(numbers.next(0, 20), 'f', 1), QString(), QString(), QString()});
                const QString d = QString::fromLatin1(diameters[int(numbers.next(0, 4))]);
                for (const auto &[from, to] :
                     {std::pair{crossing(i, j), service}, std::pair{service, crossing(i + di, j + dj)}}) {
                    net.pipes.append(
                        {QStringLiteral("p%1").arg(++pipeCount), from, to, QStringLiteral("100"), d, QString()});
                }
            }
        }
    }
    return net;
}

Files grid(int side)
{
    const network::Network net = gridNetwork(side);
    const QString stem = folder().filePath(QStringLiteral("grid-%1").arg(net.pipes.size()));
    Files files{stem + QStringLiteral("-nodes.csv"), stem + QStringLiteral("-pipes.csv")};
    return write(files.nodes, network::tableToCsv(network::Table::Nodes, net.nodes))
            && write(files.pipes, network::tableToCsv(network::Table::Pipes, net.pipes))
        ? files
        : Files{};
}

// Events until the network's results are shown; the longest the window was kept
// from answering.
double untilShown(NetworkScreen *gwjs)
{
    double longest = 0;
    do {
        const auto start = std::chrono::steady_clock::now();
        QCoreApplication::processEvents();
        longest = std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    } while (gwjs->editor()->model()->isSolving());
    const auto start = std::chrono::steady_clock::now();
    QCoreApplication::processEvents();
    return std::max(longest, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

// The screen with a network: an edit of one load, solved, the tables and the
// drawing updated and repainted. Timed whole, or (a large network, solved in the
// background) the longest the window waits.
void editOnScreen(benchmark::State &state, int side, bool longestWait)
{
    std::unique_ptr<Screen> screen(createScreen(network::kCode));
    auto *gwjs = static_cast<NetworkScreen *>(screen.get());
    gwjs->loadState(design::networkValues(gridNetwork(side)));
    gwjs->show();
    untilShown(gwjs);
    // A small network zoomed in with the wheel until its ids are drawn.
    NetworkView *view = gwjs->editor()->view();
    for (int turn = 0; !longestWait && !view->labelsDrawn() && turn < 40; ++turn) {
        const QPointF centre = QRectF(view->viewport()->rect()).center();
        QWheelEvent wheel(centre, view->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &wheel);
    }
    if (!longestWait && !view->labelsDrawn()) {
        state.SkipWithError("the ids are not drawn");
        return;
    }
    untilShown(gwjs);
    NetworkTableModel *nodes = gwjs->editor()->model()->table(network::Table::Nodes);
    const QModelIndex load = nodes->index(1, 1);
    const QString values[2]{QStringLiteral("2.5"), QStringLiteral("3.5")};
    int next = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        nodes->setData(load, values[next]);
        const double edit = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double longest = std::max(edit, untilShown(gwjs));
        state.SetIterationTime(
            longestWait ? longest : std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        next = 1 - next;
    }
    screen->closeForExit();
}

// The screen opened with a design's network, until its results are painted.
void openOnScreen(benchmark::State &state, int side)
{
    const design::Values values = design::networkValues(gridNetwork(side));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<Screen> screen(createScreen(network::kCode));
        auto *gwjs = static_cast<NetworkScreen *>(screen.get());
        gwjs->loadState(values);
        screen->show();
        untilShown(gwjs);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        screen->closeForExit();
    }
}

// A tree of `count` pipes from one station, each node hung on one of the fifty
// before it, every diameter left to the sizing. With households: every node a
// building of 6 to 60 households of either appliance set, and every tenth pipe a
// street main with a path load.
Files tree(int count, bool households = false)
{
    Numbers numbers;
    QByteArray nodes = households ? "node,load,elevation,source_pressure,households,appliance\ns,,0,3000,,\n"
                                  : "node,load,elevation,source_pressure\ns,,0,3000\n";
    QByteArray pipes = households ? "pipe,from,to,length,diameter,path_load\n" : "pipe,from,to,length,diameter\n";
    for (int i = 1; i <= count; ++i) {
        const int parent = i == 1 ? 0 : int(numbers.next(std::max(1, i - 50), i));
        const QByteArray from = parent == 0 ? QByteArray("s") : "n" + QByteArray::number(parent);
        const QByteArray load = QByteArray::number(numbers.next(0.2, 2), 'f', 2);
        const QByteArray length = QByteArray::number(int(numbers.next(20, 120)));
        if (households) {
            nodes += "n" + QByteArray::number(i) + ',' + (i % 7 == 0 ? load : QByteArray()) + ",0,,"
                + QByteArray::number(int(numbers.next(6, 61))) + ',' + (i % 3 == 0 ? "1" : "2") + '\n';
            pipes += "p" + QByteArray::number(i) + ',' + from + ",n" + QByteArray::number(i) + ',' + length + ",,"
                + (i % 10 == 0 ? QByteArray::number(numbers.next(5, 30), 'f', 1) : QByteArray()) + '\n';
        } else {
            nodes += "n" + QByteArray::number(i) + ',' + load + ",0,\n";
            pipes += "p" + QByteArray::number(i) + ',' + from + ",n" + QByteArray::number(i) + ',' + length + ",\n";
        }
    }
    const QString stem = folder().filePath(QStringLiteral("tree-%1%2").arg(count).arg(households ? "-households" : ""));
    Files files{stem + QStringLiteral("-nodes.csv"), stem + QStringLiteral("-pipes.csv")};
    return write(files.nodes, nodes) && write(files.pipes, pipes) ? files : Files{};
}

// One run in a child of its own, so that its peak memory is its alone.
void run(benchmark::State &state, const Files &files, const std::vector<std::string> &options)
{
    const std::string program
        = (QCoreApplication::applicationDirPath() + QStringLiteral("/../velmora-batch")).toStdString();
    const std::string nodes = files.nodes.toStdString(), pipes = files.pipes.toStdString();
    std::vector<std::string> arguments{program,         "network", "--density",      "0.72", "--viscosity", "1.5E-5",
                                       "--temperature", "288",     "--min-pressure", "1000", "--nodes",     nodes,
                                       "--pipes",       pipes};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char *> argv;
    for (std::string &a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        if (files.nodes.isEmpty()) {
            state.SkipWithError("the network could not be written");
            break;
        }
        QElapsedTimer timer;
        timer.start();
        const pid_t child = fork();
        if (child == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            execv(argv[0], argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("velmora-batch network failed");
            break;
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) * 1e-9);
        state.counters["MiB"] = double(usage.ru_maxrss) / 1024;
    }
}

} // namespace

void registerBenchmarks(int samples)
{
    benchmark::RegisterBenchmark("network/screen-edit-960",
                                 [](benchmark::State &state) { editOnScreen(state, 16, false); })
        ->UseManualTime()
        ->Iterations(10)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("network/screen-edit-10200",
                                 [](benchmark::State &state) { editOnScreen(state, 51, true); })
        ->UseManualTime()
        ->Iterations(4)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("network/screen-open-10200", [](benchmark::State &state) { openOnScreen(state, 51); })
        ->UseManualTime()
        ->Iterations(1)
        ->Repetitions(3)
        ->Unit(benchmark::kMillisecond);
    const std::vector<std::string> households{"--rated-flow-1", "0.7", "--rated-flow-2", "2.5"};
    for (const auto &[name, files, options] :
         {std::tuple{"network/grid-10000", grid(51), std::vector<std::string>{}},
          std::tuple{"network/grid-100000", grid(159), std::vector<std::string>{}},
          std::tuple{"network/tree-10000", tree(10000), std::vector<std::string>{}},
          std::tuple{"network/tree-households-10000", tree(10000, true), households}}) {
        benchmark::RegisterBenchmark(name, [files, options](benchmark::State &state) { run(state, files, options); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(samples)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace networkbench
