#pragma once

// Rounding of a computed diameter to the standard series.
namespace pd {

// Rounds a diameter (mm) up to the next standard size in place; above the
// largest size it shows its own message and leaves the value as it was.
void SelectStandardDiameter(float &diameter);

} // namespace pd
