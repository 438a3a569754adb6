#include "preselect.h"

#include <cmath>

std::optional<std::size_t> preselectDiameter(std::span<const double> drops, double allowance)
{
    std::optional<std::size_t> selected;
    double previousGap = 1E16;
    for (std::size_t k = 0; k < drops.size(); ++k) {
        const double gap = std::fabs(allowance - drops[k]);
        if (previousGap > gap)
            selected = k;
        previousGap = gap;
    }
    return selected;
}
