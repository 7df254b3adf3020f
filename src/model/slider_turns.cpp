// SPDX-License-Identifier: GPL-3.0-or-later
#include "slider_turns.h"

namespace zelbrook {

std::optional<std::int16_t> wrapByWholeTurns(std::int64_t position, SliderRange range, std::int64_t nearTo)
{
    // The lowest position at or above the minimum that differs from the
    // given one by whole turns; the modulo is kept non-negative.
    const std::int64_t offset =
        ((position - range.minimum) % kPositionsPerTurn + kPositionsPerTurn) % kPositionsPerTurn;
    const std::int64_t lower = range.minimum + offset;
    if (lower > range.maximum)
        return std::nullopt;
    const std::int64_t upper = lower + kPositionsPerTurn;
    if (upper <= range.maximum && upper - nearTo < nearTo - lower)
        return static_cast<std::int16_t>(upper);
    return static_cast<std::int16_t>(lower);
}

} // namespace zelbrook
