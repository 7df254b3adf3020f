// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "limb.h"
#include "point.h"
#include "pose.h"

#include <cstdint>
#include <optional>

namespace zelbrook {

// Which way a limb bends at the knee or elbow: its second angle turning
// counter-clockwise or clockwise on screen from the first segment.
enum class Bend : std::int8_t { Clockwise = -1, CounterClockwise = 1 };

// The side the limb bends to as posed: the sign of the sine of its second
// angle; none when the limb is straight or folded right back.
std::optional<Bend> bendOf(const Pose &pose, Limb limb);

// The bend that puts the knee or elbow on the side of the line from the
// limb's root to `target` that the figure faces; on a level line, below it.
Bend bendTowards(Facing facing, const Pose &pose, Limb limb, Point target);

// The limb's two angles set so that its end is at `target` (canvas units),
// its segments keeping their scaled lengths, in closed form. A target out of
// reach has the limb straight towards it; one nearer than the difference of
// the two lengths has it folded towards it; one exactly at the root keeps
// the first angle and folds the limb. The angles are exact, not rounded to
// slider steps: the first brought into its slider's turn, the second into
// -180 to 180 degrees. Every other value of the pose stays.
void solveLimb(Pose &pose, Limb limb, Point target, Bend bend);

} // namespace zelbrook
