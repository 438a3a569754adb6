#include "pd.h"

#include "message_box.h"

#include <array>

namespace pd {

namespace {

// Standard inner diameters (mm), smallest first; nothing between 150 and 219.
constexpr std::array<float, 19> kStandardDiameters{15,  20,  25,  32,  40,  50,  70,  80,  100, 125,
                                                   150, 219, 273, 325, 377, 426, 480, 530, 630};

} // namespace

void SelectStandardDiameter(float &diameter)
{
    if (diameter > kStandardDiameters.back()) {
        showMessage(nullptr, QStringLiteral("数据超出范围,计算管径已大于630,估计你数据错误,嘿嘿"));
        return;
    }
    // From the largest band down: a diameter above a size takes the next size up, so an exact size stays.
    for (std::size_t i = kStandardDiameters.size() - 1; i > 0; --i) {
        if (diameter > kStandardDiameters[i - 1]) {
            diameter = kStandardDiameters[i];
            return;
        }
    }
    diameter = kStandardDiameters.front();
}

} // namespace pd
