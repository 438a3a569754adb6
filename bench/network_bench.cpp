#include "network_bench.h"

#include "csv.h"
#include "design_file.h"
#include "network/network_editor.h"
#include "network/network_model.h"
#include "network/network_screen.h"
#include "network/network_view.h"
#include "network_files.h"
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
#include <cmath>
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
// (side - 1)^2 loops: 51 gives 10 200 pipes and 2 500 loops, 16 gives 960. Placed, the
// service nodes have their places too, as in a network drawn or imported from a drawing.
network::Network gridNetwork(int side, bool placed = false)
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
                                  QString::number(numbers.next(0, 20), 'f', 1),
                                  placed ? QString::number(i * 200 + di * 100) : QString(),
                                  placed ? QString::number(j * 200 + dj * 100) : QString(), QString()});
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

// Zooms in with the wheel at the view's middle until the ids are drawn, as one does to work on
// a part of a network.
void zoomUntilIdsDrawn(NetworkView *view)
{
    for (int turn = 0; !view->labelsDrawn() && turn < 40; ++turn) {
        const QPointF centre = QRectF(view->viewport()->rect()).center();
        QWheelEvent wheel(centre, view->viewport()->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &wheel);
    }
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
    if (!longestWait)
        zoomUntilIdsDrawn(view);
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

// A district drawn in CAD: a square grid of `pipes` pipes 50 m long on the gas layer, every other
// one a polyline with a bend, each end 0.1 m short of its crossing, a size written beside each.
QString drawnGrid(int pipes)
{
    auto pair = [](int code, const QByteArray &value) { return QByteArray::number(code) + '\n' + value + '\n'; };
    QByteArray entities;
    const int side = int(std::sqrt(pipes / 2.0)) + 1;
    int handle = 0x100;
    auto entity = [&](const char *type, const char *subclass) {
        return pair(0, type) + pair(5, QByteArray::number(++handle, 16)) + pair(100, "AcDbEntity") + pair(8, "燃气")
            + pair(100, subclass);
    };
    for (int k = 0; k < pipes; ++k) {
        const double x = (k / 2) / side * 50.0, y = (k / 2) % side * 50.0;
        if (k % 2 == 0) {
            entities += entity("LINE", "AcDbLine") + pair(10, QByteArray::number(x + 0.1))
                + pair(20, QByteArray::number(y)) + pair(11, QByteArray::number(x + 50))
                + pair(21, QByteArray::number(y));
        } else {
            entities += entity("LWPOLYLINE", "AcDbPolyline") + pair(90, "3") + pair(70, "0");
            for (const auto &[px, py] : {std::pair{x, y}, std::pair{x + 1, y + 25}, std::pair{x, y + 50}})
                entities += pair(10, QByteArray::number(px)) + pair(20, QByteArray::number(py));
        }
        entities += entity("TEXT", "AcDbText") + pair(10, QByteArray::number(k % 2 == 0 ? x + 25 : x + 2))
            + pair(20, QByteArray::number(k % 2 == 0 ? y + 1 : y + 25)) + pair(40, "0.5") + pair(1, "D108×4")
            + pair(100, "AcDbText");
    }
    const QByteArray dxf = pair(0, "SECTION") + pair(2, "HEADER") + pair(9, "$ACADVER") + pair(1, "AC1024")
        + pair(9, "$INSUNITS") + pair(70, "6") + pair(0, "ENDSEC") + pair(0, "SECTION") + pair(2, "ENTITIES") + entities
        + pair(0, "ENDSEC") + pair(0, "EOF");
    const QString path = folder().filePath(QStringLiteral("drawn-%1.dxf").arg(pipes));
    return write(path, dxf) ? path : QString();
}

// The arguments of velmora-batch network on a network's files.
QStringList networkArguments(const Files &files)
{
    if (files.nodes.isEmpty())
        return {};
    return {QStringLiteral("network"),
            QStringLiteral("--density"),
            QStringLiteral("0.72"),
            QStringLiteral("--viscosity"),
            QStringLiteral("1.5E-5"),
            QStringLiteral("--temperature"),
            QStringLiteral("288"),
            QStringLiteral("--min-pressure"),
            QStringLiteral("1000"),
            QStringLiteral("--nodes"),
            files.nodes,
            QStringLiteral("--pipes"),
            files.pipes};
}

// A split of a pipe in the drawing of a network whose nodes all have places, zoomed in until the
// ids are drawn as for the edit of a load: solved, the tables and the drawing made anew and
// repainted; undone between the timed splits.
void splitOnScreen(benchmark::State &state, int side)
{
    std::unique_ptr<Screen> screen(createScreen(network::kCode));
    auto *gwjs = static_cast<NetworkScreen *>(screen.get());
    gwjs->loadState(design::networkValues(gridNetwork(side, true)));
    gwjs->show();
    untilShown(gwjs);
    NetworkEditor *editor = gwjs->editor();
    // Zoomed in to work, the ids drawn; the pipe split is the one in the middle of the view.
    NetworkView *view = editor->view();
    zoomUntilIdsDrawn(view);
    untilShown(gwjs);
    if (!view->labelsDrawn()) {
        state.SkipWithError("the ids are not drawn");
        return;
    }
    const network::Result &r = editor->model()->result();
    const QPointF centre = view->typedAt(view->viewport()->rect().center());
    int pipe = 0;
    QPointF middle;
    for (qsizetype k = 0; k < r.pipes.size(); ++k) {
        const QPointF m = (editor->layout().points[r.pipes[k].from] + editor->layout().points[r.pipes[k].to]) / 2;
        if (k == 0 || QLineF(m, centre).length() < QLineF(middle, centre).length()) {
            pipe = int(k);
            middle = m;
        }
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!editor->splitPipe(pipe, middle)) {
            state.SkipWithError("the pipe was not split");
            break;
        }
        untilShown(gwjs);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        editor->undoStack()->undo();
        untilShown(gwjs);
    }
    screen->closeForExit();
}

// One run in a child of its own, so that its peak memory is its alone.
void run(benchmark::State &state, const QStringList &batchArguments)
{
    const std::string program
        = (QCoreApplication::applicationDirPath() + QStringLiteral("/../velmora-batch")).toStdString();
    std::vector<std::string> arguments{program};
    for (const QString &a : batchArguments)
        arguments.push_back(a.toStdString());
    std::vector<char *> argv;
    for (std::string &a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        if (batchArguments.isEmpty()) {
            state.SkipWithError("the input could not be written");
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
            state.SkipWithError("velmora-batch failed");
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
    benchmark::RegisterBenchmark("network/drawing-split-960", [](benchmark::State &state) { splitOnScreen(state, 16); })
        ->UseManualTime()
        ->Iterations(10)
        ->Repetitions(samples)
        ->Unit(benchmark::kMillisecond);
    const Files grid10000 = grid(51);
    const QString drawn = drawnGrid(10000);
    for (const auto &[name, arguments] :
         {std::pair{"network/grid-10000", networkArguments(grid10000)},
          std::pair{"network/grid-10000-dxf",
                    networkArguments(grid10000)
                        + QStringList{QStringLiteral("--export-dxf"), folder().filePath(QStringLiteral("grid.dxf"))}},
          std::pair{"network/grid-100000", networkArguments(grid(159))},
          std::pair{"network/tree-10000", networkArguments(tree(10000))},
          std::pair{"network/tree-households-10000",
                    networkArguments(tree(10000, true))
                        + QStringList{QStringLiteral("--rated-flow-1"), QStringLiteral("0.7"),
                                      QStringLiteral("--rated-flow-2"), QStringLiteral("2.5")}},
          std::pair{"drawing/import-10000",
                    drawn.isEmpty() ? QStringList()
                                    : QStringList{QStringLiteral("import"), drawn, QStringLiteral("--nodes-out"),
                                                  folder().filePath(QStringLiteral("drawn-nodes.csv")),
                                                  QStringLiteral("--pipes-out"),
                                                  folder().filePath(QStringLiteral("drawn-pipes.csv"))}}}) {
        benchmark::RegisterBenchmark(name, [arguments](benchmark::State &state) { run(state, arguments); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(samples)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace networkbench
