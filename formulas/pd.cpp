#include "pd.h"

namespace pd {

std::optional<float> SelectStandardDiameter(float diameter)
{
    if (diameter > kStandardDiameters.back())
        return std::nullopt;
    // From the largest band down: a diameter above a size takes the next size up, so an exact size stays.
    for (std::size_t i = kStandardDiameters.size() - 1; i > 0; --i) {
        if (diameter > kStandardDiameters[i - 1])
            return kStandardDiameters[i];
    }
    return kStandardDiameters.front();
}

} // namespace pd
