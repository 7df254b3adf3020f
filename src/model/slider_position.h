// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace zelbrook {

// The fixed minimum and maximum of a slider; both ends are valid positions.
struct SliderRange {
    std::int16_t minimum;
    std::int16_t maximum;

    constexpr bool contains(int position) const { return position >= minimum && position <= maximum; }
};

// Rounds to the nearest whole number, a value halfway between two going to
// the even one (70.5 gives 70, 71.5 gives 72). Empty when the result is not
// a signed 16-bit number (NaN, infinities and magnitudes past 32767 included).
std::optional<std::int16_t> roundToInt16(double value);

// The slider position for a value: rounded as above and inside the range, or
// empty when no position of the slider can hold it.
std::optional<std::int16_t> sliderPositionFor(double value, SliderRange range);

} // namespace zelbrook
