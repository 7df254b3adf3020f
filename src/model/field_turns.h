// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "pose_field.h"

#include <cstdint>
#include <optional>

namespace zelbrook {

// The position an angle's slider shows for the field's value: rounded, and
// brought into the range by whole turns. Empty when no position can show it.
std::optional<std::int16_t> shownPosition(const PoseField &field, const Figure &figure);

// The whole number of degrees a slider position stands for in the field
// itself; the conversions there and back differ from whole numbers only in
// the last bits, which the rounding takes away.
double fieldDegrees(const PoseField &field, std::int16_t position);

// The slider position that gives the field these degrees, brought into the
// range by whole turns; where two positions fit, the one nearer to nearTo,
// or without it the one nearer to the unwrapped position, so that a
// position already on the slider stays as it is.
std::optional<std::int16_t> positionForDegrees(const PoseField &field, double degrees,
                                               std::optional<std::int64_t> nearTo = std::nullopt);

} // namespace zelbrook
