#pragma once

// velmora-batch over large tables, in a fresh process each time (start-up included).
namespace batch {

constexpr int kRows = 20000;

// Registers "batch/yl" and "batch/xd": kRows rows of each, from a file.
void registerBenchmarks(int samples);

} // namespace batch
