#include "network_bench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
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
// (side - 1)^2 loops: 51 gives 10 200 pipes and 2 500 loops.
Files grid(int side)
{
    Numbers numbers;
    QByteArray nodes = "node,load,elevation,x,y,source_pressure\n";
    QByteArray pipes = "pipe,from,to,length,diameter\n";
    auto crossing = [side](int i, int j) { return "c" + QByteArray::number(i * side + j); };
    const char *diameters[] = {"150", "200", "250", "300"};
    int pipeCount = 0, serviceCount = 0;
    for (int i = 0; i < side; ++i) {
        for (int j = 0; j < side; ++j) {
            const bool corner = (i == 0 || i == side - 1) && (j == 0 || j == side - 1);
            nodes += crossing(i, j) + ',' + (corner ? QByteArray() : QByteArray::number(numbers.next(0.5, 3), 'f', 2))
                + ',' + QByteArray::number(numbers.next(0, 20), 'f', 1) + ',' + QByteArray::number(i * 200) + ','
                + QByteArray::number(j * 200) + ',' + (corner ? "3000" : "") + '\n';
            for (const auto &[di, dj] : {std::pair{1, 0}, std::pair{0, 1}}) {
                if (i + di >= side || j + dj >= side)
                    continue;
                const QByteArray service = "s" + QByteArray::number(++serviceCount);
                nodes += service + ',' + QByteArray::number(numbers.next(0.5, 3), 'f', 2) + ','
                    + QByteArray::number(numbers.next(0, 20), 'f', 1) + ",,,\n";
                const char *d = diameters[int(numbers.next(0, 4))];
                for (const auto &[from, to] :
                     {std::pair{crossing(i, j), service}, std::pair{service, crossing(i + di, j + dj)}}) {
                    pipes += 'p' + QByteArray::number(++pipeCount) + ',' + from + ',' + to + ",100," + d + '\n';
                }
            }
        }
    }
    const QString stem = folder().filePath(QStringLiteral("grid-%1").arg(pipeCount));
    Files files{stem + QStringLiteral("-nodes.csv"), stem + QStringLiteral("-pipes.csv")};
    return write(files.nodes, nodes) && write(files.pipes, pipes) ? files : Files{};
}

// A tree of `count` pipes from one station, each node hung on one of the fifty
// before it, every diameter left to the sizing.
Files tree(int count)
{
    Numbers numbers;
    QByteArray nodes = "node,load,elevation,source_pressure\ns,,0,3000\n";
    QByteArray pipes = "pipe,from,to,length,diameter\n";
    for (int i = 1; i <= count; ++i) {
        const int parent = i == 1 ? 0 : int(numbers.next(std::max(1, i - 50), i));
        const QByteArray from = parent == 0 ? QByteArray("s") : "n" + QByteArray::number(parent);
        nodes += "n" + QByteArray::number(i) + ',' + QByteArray::number(numbers.next(0.2, 2), 'f', 2) + ",0,\n";
        pipes += "p" + QByteArray::number(i) + ',' + from + ",n" + QByteArray::number(i) + ','
            + QByteArray::number(int(numbers.next(20, 120))) + ",\n";
    }
    const QString stem = folder().filePath(QStringLiteral("tree-%1").arg(count));
    Files files{stem + QStringLiteral("-nodes.csv"), stem + QStringLiteral("-pipes.csv")};
    return write(files.nodes, nodes) && write(files.pipes, pipes) ? files : Files{};
}

// One run in a child of its own, so that its peak memory is its alone.
void run(benchmark::State &state, const Files &files)
{
    const std::string program
        = (QCoreApplication::applicationDirPath() + QStringLiteral("/../velmora-batch")).toStdString();
    const std::string nodes = files.nodes.toStdString(), pipes = files.pipes.toStdString();
    std::vector<std::string> arguments{program,         "network", "--density",      "0.72", "--viscosity", "1.5E-5",
                                       "--temperature", "288",     "--min-pressure", "1000", "--nodes",     nodes,
                                       "--pipes",       pipes};
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
    for (const auto &[name, files] :
         {std::pair{"network/grid-10000", grid(51)}, std::pair{"network/grid-100000", grid(159)},
          std::pair{"network/tree-10000", tree(10000)}}) {
        benchmark::RegisterBenchmark(name, [files](benchmark::State &state) { run(state, files); })
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(samples)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace networkbench
