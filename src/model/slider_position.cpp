// SPDX-License-Identifier: GPL-3.0-or-later
#include "slider_position.h"

#include <cmath>
#include <limits>

namespace zelbrook {

std::optional<std::int16_t> roundToInt16(double value)
{
    // std::nearbyint rounds in the current mode, which is to-nearest-even
    // unless someone changed it; std::round would take halves away from zero.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() && rounded <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

std::optional<std::int16_t> sliderPositionFor(double value, SliderRange range)
{
    const auto position = roundToInt16(value);
    if (!position || !range.contains(*position))
        return std::nullopt;
    return position;
}

} // namespace zelbrook
