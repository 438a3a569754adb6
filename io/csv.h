#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Comma-separated tables as RFC 4180 writes them: fields that hold a comma, a
// quote or a line end are quoted, quotes doubled; UTF-8, CRLF line ends.
namespace csv {

struct Table
{
    QList<QStringList> rows;
    QList<int> lines; // the line on which each row starts, 1 for the first
};

// A table read from UTF-8 text, with or without a byte-order mark, or from GB18030
// when the bytes are not UTF-8 and carry no mark (a spreadsheet on a Chinese system
// saves CSV so); line ends may be CRLF, LF or CR. Blank lines are skipped. On a
// malformed text the error names the problem and its line, and the table is empty.
struct ReadResult
{
    Table table;
    QString error;
    bool ok() const { return error.isNull(); }
};
ReadResult read(const QByteArray &text);

// With --strict: the first cell of a number column whose text the leading-number
// rule does not read whole, as a line naming its line and column
// ("第3行第2列（length）：“1,200”不是完整的数，读作 1"); empty when there is none.
// The first row is the header; isNumber says which columns hold numbers.
QString partlyReadCell(const Table &table, const std::function<bool(qsizetype column)> &isNumber);

// One field, quoted when it must be.
QString field(const QString &text);
// One row with its line end.
QString row(const QStringList &cells);
// The table as UTF-8; with a byte-order mark for spreadsheets when asked.
QByteArray write(const QList<QStringList> &rows, bool byteOrderMark = false);

} // namespace csv
