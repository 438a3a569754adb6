#pragma once

// velmora-batch network on generated networks, in a fresh process each time
// (start-up, reading and writing included), with the process's peak memory.
namespace networkbench {

// Registers "network/grid-10000" and "network/grid-100000" (looped low-pressure
// grids with four sources) and "network/tree-10000" (a tree sized automatically).
void registerBenchmarks(int samples);

} // namespace networkbench
