#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Comma-separated tables as RFC 4180 writes them: fields that hold a comma, a
// quote or a line end are quoted, quotes doubled; UTF-8, CRLF line ends.
namespace csv {

struct Table
{
    QList<QStringList> rows;
    QList<int> lines; // the line on which each row starts, 1 for the first
};

// A table read from UTF-8 text, with or without a byte-order mark; line ends may
// be CRLF, LF or CR. Blank lines are skipped. On a malformed text the error
// names the problem and its line, and the table is empty.
struct ReadResult
{
    Table table;
    QString error;
    bool ok() const { return error.isNull(); }
};
ReadResult read(const QByteArray &text);

// One field, quoted when it must be.
QString field(const QString &text);
// One row with its line end.
QString row(const QStringList &cells);
// The table as UTF-8; with a byte-order mark for spreadsheets when asked.
QByteArray write(const QList<QStringList> &rows, bool byteOrderMark = false);

} // namespace csv
