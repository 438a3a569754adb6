// libFuzzer target for the CSV reader of the batch command and the exports.
// Any input: no crash, no hang; a refused text gives an empty table and an
// error naming a line; an accepted table, written and read again, gives the same
// cells, and rows that start on lines that rise.

#include "csv.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *rule)
{
    std::fprintf(stderr, "broken rule: %s\n", rule);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const csv::ReadResult first = csv::read(bytes);
    if (!first.ok()) {
        if (!first.table.rows.isEmpty())
            fail("a refused text gives rows");
        if (first.error.isEmpty())
            fail("a refusal names no problem");
        return 0;
    }
    if (first.table.rows.size() != first.table.lines.size())
        fail("every row has its line");
    for (qsizetype i = 1; i < first.table.lines.size(); ++i) {
        if (first.table.lines[i] <= first.table.lines[i - 1])
            fail("rows start on rising lines");
    }
    for (const bool mark : {false, true}) {
        const csv::ReadResult again = csv::read(csv::write(first.table.rows, mark));
        if (!again.ok())
            fail("a written table is refused");
        if (again.table.rows != first.table.rows)
            fail("a written table reads back with other cells");
    }
    return 0;
}
