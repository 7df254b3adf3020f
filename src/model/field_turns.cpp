// SPDX-License-Identifier: GPL-3.0-or-later
#include "field_turns.h"

#include "slider_position.h"
#include "slider_turns.h"

#include <cmath>

namespace zelbrook {

std::optional<std::int16_t> shownPosition(const PoseField &field, const Figure &figure)
{
    const auto rounded = roundToInt16(field.position(figure));
    if (!rounded)
        return std::nullopt;
    return wrapByWholeTurns(*rounded, *field.range, *rounded);
}

double fieldDegrees(const PoseField &field, std::int16_t position)
{
    Figure figure;
    field.store(figure, position);
    return std::nearbyint(radiansToDegrees(field.value(figure)));
}

std::optional<std::int16_t> positionForDegrees(const PoseField &field, double degrees,
                                               std::optional<std::int64_t> nearTo)
{
    Figure figure;
    field.assign(figure, degreesToRadians(degrees));
    const auto position = roundToInt16(field.position(figure));
    if (!position)
        return std::nullopt;
    return wrapByWholeTurns(*position, *field.range, nearTo.value_or(*position));
}

} // namespace zelbrook
