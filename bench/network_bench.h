#pragma once

// velmora-batch network on generated networks, in a fresh process each time
// (start-up, reading and writing included), with the process's peak memory.
namespace networkbench {

// Registers "network/grid-10000" and "network/grid-100000" (looped low-pressure
// grids with four sources), "network/grid-10000-dxf" (the first with its DXF drawing
// written), "network/tree-10000" (a tree sized automatically), "drawing/import-10000"
// (a CAD drawing of 10 000 pipes imported) and the screen's edits.
void registerBenchmarks(int samples);

} // namespace networkbench
