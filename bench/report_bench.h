#pragma once

// The calculation report as a PDF: of one screen (xd with its 19-row table) and of all nine.
namespace reportbench {

void registerBenchmarks(int samples);

} // namespace reportbench
