#include "batch.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BatchRun run = runBatch(app.arguments().mid(1), [] {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly))
            return QByteArray();
        return in.readAll();
    });
    std::fwrite(run.output.constData(), 1, std::size_t(run.output.size()), stdout);
    std::fwrite(run.error.constData(), 1, std::size_t(run.error.size()), stderr);
    return run.status;
}
