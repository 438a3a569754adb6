#pragma once

#include <array>
#include <optional>

// Diameter series and the rounding of a computed diameter to the standard series.
namespace pd {

// The standard inner diameters (mm) of the laminar check, smallest first; nothing between 150 and 219.
inline constexpr std::array<float, 19> kStandardDiameters{15,  20,  25,  32,  40,  50,  70,  80,  100, 125,
                                                          150, 219, 273, 325, 377, 426, 480, 530, 630};

// The 19 diameters (mm) of the low-pressure section table. The 18th size is 580 mm here.
inline constexpr std::array<double, 19> kLowPressureSection{15,  20,  25,  32,  40,  50,  70,  80,  100, 125,
                                                            150, 219, 273, 325, 377, 426, 480, 580, 630};

// The 19 diameters (mm) of the medium/high-pressure section table.
inline constexpr std::array<double, 19> kHighPressureSection{50,  70,  80,  100, 125, 150, 219, 273,  325, 377,
                                                             426, 480, 530, 630, 720, 820, 920, 1020, 1220};

// The smallest standard size not smaller than the diameter (mm); an exact size
// stays. Empty above the largest size: the caller decides what to say.
[[nodiscard]] std::optional<float> SelectStandardDiameter(float diameter);

} // namespace pd
