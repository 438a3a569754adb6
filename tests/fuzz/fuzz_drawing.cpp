// libFuzzer target for the drawing import: DXF text read through GDAL, then the steps from lines
// to nodes and pipes. Any input: no crash, no hang; a refused file gives its reason and nothing
// else; an imported one has pipes between its own nodes, unique ids, finite lengths not below
// zero, and a report that counts what it gives.

#include "drawing_import.h"
#include "network_geometry.h"

#include <QFile>
#include <QSet>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char *rule)
{
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // The reader takes a path, as the command and the screen give it.
    static const QString path = QStringLiteral("/tmp/fuzz_drawing_%1.dxf").arg(getpid());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    file.close();

    const drawing::Import import = drawing::importDrawing(path, drawing::Options());
    if (!import.ok()) {
        if (!import.nodes.isEmpty() || !import.pipes.isEmpty())
            fail("a refused file gives rows");
        return 0;
    }
    const drawing::Report &r = import.report;
    if (r.nodes != import.nodes.size() || r.pipes != import.pipes.size() || import.bends.size() != r.pipes)
        fail("the report counts other rows than it gives");
    if (r.pipes > 2 * r.lines + r.tees)
        fail("more pipes than lines, tees and cut rings make");
    QSet<QString> nodes, pipes;
    for (const network::Row &n : import.nodes)
        nodes.insert(n.value(network::node::Id));
    double total = 0;
    for (qsizetype k = 0; k < import.pipes.size(); ++k) {
        const network::Row &p = import.pipes[k];
        const QString from = p.value(network::pipe::From), to = p.value(network::pipe::To);
        if (!nodes.contains(from) || !nodes.contains(to) || from == to)
            fail("a pipe runs from or to no node of its own");
        if (pipes.contains(p.value(network::pipe::Id)))
            fail("two pipes share an id");
        pipes.insert(p.value(network::pipe::Id));
        const std::optional<QList<QPointF>> bends = network::readVertices(p.value(network::pipe::Vertices));
        if (!bends || bends->size() != import.bends[k].size())
            fail("the vertices cell is not the pipe's bends");
        const double length = p.value(network::pipe::Length).toDouble();
        if (!std::isfinite(length) || length < 0)
            fail("a length that is no distance");
        total += length;
    }
    if (!std::isfinite(r.totalLength) || std::abs(total - r.totalLength) > 1e-6 * std::max(1.0, r.totalLength))
        fail("the total length is not the sum of the pipes");
    return 0;
}
