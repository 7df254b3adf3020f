// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose.h"
#include "slider_position.h"

namespace zelbrook {

// The pen is drawn this many pixels wide at a zoom of 1, at the least and at
// the most; the line-width slider spans the same range.
inline constexpr SliderRange kPenWidthRange{1, 7};
inline constexpr int kDefaultPenWidth = 2;

// Everything a picture is drawn from: the pose, which carries the hip
// position, the scale and the rotation, and the width of the pen.
struct Figure {
    Pose pose;
    int penWidth = kDefaultPenWidth;

    friend bool operator==(const Figure &, const Figure &) = default;
};

} // namespace zelbrook
