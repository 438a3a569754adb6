#include "csv.h"

#include "number_text.h"

#include <QStringDecoder>

namespace csv {

namespace {

QString lineError(int line, const QString &problem)
{
    return QStringLiteral("第%1行：%2").arg(line).arg(problem);
}

struct Decoded
{
    QString text;
    QString error;
};

Decoded decoded(const QByteArray &bytes)
{
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    Decoded d{utf8.decode(marked ? bytes.sliced(3) : bytes), QString()};
    if (!utf8.hasError())
        return d;
    // The mark says UTF-8: a broken byte after it must not pass for another encoding.
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (marked || !gb18030.isValid())
        return {QString(), QStringLiteral("不是UTF-8编码的文本")};
    d.text = gb18030.decode(bytes);
    if (gb18030.hasError())
        return {QString(), QStringLiteral("不是UTF-8或GB18030编码的文本")};
    // GB18030's own byte-order mark, rare, does not belong to the first cell either.
    if (d.text.startsWith(QChar(0xFEFF)))
        d.text.remove(0, 1);
    return d;
}

} // namespace

ReadResult read(const QByteArray &bytes)
{
    ReadResult result;
    const auto [text, error] = decoded(bytes);
    if (!error.isNull()) {
        result.error = error;
        return result;
    }

    Table table;
    QStringList cells;
    // An unquoted field is sliced out of the text; a quoted one is gathered in `quotedCell`.
    const auto *const chars = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype n = text.size();
    qsizetype cellStart = 0;
    QString quotedCell;
    int line = 1;
    int rowLine = 1;
    bool quoted = false; // inside a quoted field
    bool wasQuoted = false; // the present field was quoted
    bool afterQuote = false; // a quoted field has closed; only a comma or a line end may follow
    bool cellStarted = false;
    bool rowQuoted = false; // a quoted field makes even a lone empty field a row
    auto endCell = [&](qsizetype at) {
        if (wasQuoted)
            cells << quotedCell;
        else
            cells << QString(reinterpret_cast<const QChar *>(chars + cellStart), at - cellStart);
        quotedCell.clear();
        wasQuoted = false;
        afterQuote = false;
        cellStarted = false;
        cellStart = at + 1;
    };
    auto endRow = [&](qsizetype at) {
        endCell(at);
        // A blank line is no row.
        if (rowQuoted || !(cells.size() == 1 && cells.front().isEmpty())) {
            const qsizetype width = cells.size();
            table.rows << cells;
            table.lines << rowLine;
            cells = QStringList();
            cells.reserve(width);
        } else {
            cells.clear();
        }
        rowQuoted = false;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = chars[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < n && chars[i + 1] == u'"') {
                    quotedCell += u'"';
                    ++i;
                } else {
                    quoted = false;
                    afterQuote = true;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < n && chars[i + 1] == u'\n')))
                    ++line;
                quotedCell += QChar(c);
            }
            continue;
        }
        if (c == u',') {
            endCell(i);
            cellStarted = true;
        } else if (c == u'\r' || c == u'\n') {
            endRow(i);
            if (c == u'\r' && i + 1 < n && chars[i + 1] == u'\n')
                cellStart = ++i + 1;
            ++line;
            rowLine = line;
        } else if (afterQuote) {
            result.error = lineError(line, QStringLiteral("引号后应为逗号或换行"));
            return result;
        } else if (c == u'"') {
            if (i > cellStart) {
                result.error = lineError(line, QStringLiteral("未加引号的字段中有引号"));
                return result;
            }
            quoted = true;
            wasQuoted = true;
            rowQuoted = true;
            cellStarted = true;
        } else {
            cellStarted = true;
        }
    }
    if (quoted) {
        result.error = lineError(rowLine, QStringLiteral("引号不成对"));
        return result;
    }
    if (cellStarted || afterQuote || !cells.isEmpty())
        endRow(n);
    result.table = std::move(table);
    return result;
}

QString partlyReadCell(const Table &table, const std::function<bool(qsizetype column)> &isNumber)
{
    for (qsizetype r = 1; r < table.rows.size(); ++r) {
        const QStringList &cells = table.rows[r];
        for (qsizetype c = 0; c < cells.size(); ++c) {
            if (!isNumber(c))
                continue;
            const QString readAs = readAsText(cells[c]);
            if (readAs.isEmpty())
                continue;
            return QStringLiteral("第%1行第%2列（%3）：“%4”不是完整的数，读作 %5")
                .arg(table.lines[r])
                .arg(c + 1)
                .arg(table.rows.front().value(c).trimmed(), cells[c], readAs);
        }
    }
    return {};
}

QString field(const QString &text)
{
    // A leading byte-order mark is quoted too, or a reader would take it for the file's own.
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')
        && !text.startsWith(QChar(0xFEFF)))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString row(const QStringList &cells)
{
    // A lone empty field is written quoted, so that it reads back as a row and not as a blank line.
    if (cells.size() == 1 && cells.front().isEmpty())
        return QStringLiteral("\"\"\r\n");
    QStringList fields;
    fields.reserve(cells.size());
    for (const QString &cell : cells)
        fields << field(cell);
    return fields.join(u',') + QStringLiteral("\r\n");
}

QByteArray write(const QList<QStringList> &rows, bool byteOrderMark)
{
    QString text;
    for (const QStringList &cells : rows)
        text += row(cells);
    QByteArray bytes = byteOrderMark ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return bytes + text.toUtf8();
}

} // namespace csv
