// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "joints.h"

#include <array>

namespace zelbrook {

// One step of the head outline: a point on the crown half of the ellipse and
// its reflection through the head centre, on the neck half.
struct HeadPair {
    Point first;
    Point opposite;
};

// The head is sampled at t = 0, 1, ..., 180 whole degrees.
inline constexpr int kHeadSteps = 181;
using HeadOutline = std::array<HeadPair, kHeadSteps>;

// The elliptical head around headCentre, in order of t. The samples are even
// in t, not in arc length. A headRadius of 0 has no defined direction at any
// step; every point then lies on the head centre.
HeadOutline ComputeHeadOutline(const Pose &pose, Point headCentre);

} // namespace zelbrook
