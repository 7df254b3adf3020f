// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "slider_position.h"

#include <cstdint>
#include <optional>

namespace zelbrook {

// An angle slider goes once round in this many positions.
inline constexpr int kPositionsPerTurn = 360;

// The position that shows the same direction as position and lies inside the
// range, found by adding or taking away whole turns. Where two positions of
// the range fit (-180 and 180, 0 and 360), the one nearer to nearTo wins, the
// lower at equal distance. Empty when no whole number of turns brings the
// position into the range.
std::optional<std::int16_t> wrapByWholeTurns(std::int64_t position, SliderRange range, std::int64_t nearTo);

} // namespace zelbrook
