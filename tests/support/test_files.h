#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A file of a test's scratch folder with the bytes given; its path.
inline QString writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    QFile f(dir.filePath(QString::fromUtf8(name)));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return f.fileName();
}
