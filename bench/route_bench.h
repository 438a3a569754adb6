#pragma once

// The route table: recalculating 1000 sections after an edit, with the view's
// update; and velmora-batch route over 10 000 sections in a fresh process.
namespace routebench {

void registerBenchmarks(int samples);

} // namespace routebench
