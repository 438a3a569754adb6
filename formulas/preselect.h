#pragma once

#include <cstddef>
#include <optional>
#include <span>

// Pre-selection of a section diameter against an allowable drop: the last
// diameter whose gap |allowance - drop| is strictly smaller than the gap of
// the diameter before it, the first being compared against 1E16. With drops
// that fall along the series this is the diameter whose drop lies nearest the
// allowance; of two equal gaps the smaller diameter wins. Empty when no gap
// ever falls (only for gaps of 1E16 and more).
std::optional<std::size_t> preselectDiameter(std::span<const double> drops, double allowance);
