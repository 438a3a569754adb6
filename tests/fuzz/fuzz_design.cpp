// libFuzzer target for the design file loader. Any input: no crash, no hang;
// a refused file gives no design at all (nothing half loaded) and names its
// problem; an accepted design, written and read again, is the same design and
// the same bytes.

#include "design_file.h"

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
    const design::Read first = design::read(bytes);
    if (!first.ok()) {
        if (!first.design.screens.isEmpty())
            fail("a refused file loads screens");
        if (first.error.isEmpty())
            fail("a refusal names no problem");
        return 0;
    }
    const QByteArray written = design::write(first.design);
    const design::Read again = design::read(written);
    if (!again.ok())
        fail("a written design is refused");
    if (design::write(again.design) != written)
        fail("a written design reads back as another");
    return 0;
}
