// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "limb.h"
#include "point.h"
#include "pose.h"
#include "slider_position.h"

#include <array>
#include <cstdint>
#include <optional>

namespace zelbrook {

// The pen is drawn this many pixels wide at a zoom of 1, at the least and at
// the most; the line-width slider spans the same range.
inline constexpr SliderRange kPenWidthRange{1, 7};
inline constexpr int kDefaultPenWidth = 2;

// Which way a figure faces: a label that poses and moves taken from the
// shelf, and the bend of a straight limb reaching for a pin, follow. The
// pose's angles alone say what is drawn.
enum class Facing : std::uint8_t { Right, Left };

// Where each end of a figure is pinned on the stage, in canvas units, in the
// order of Limb; empty where the end is free.
using Pins = std::array<std::optional<Point>, kLimbCount>;

// Everything a picture is drawn from: the pose, which carries the hip
// position, the scale and the rotation, and the width of the pen; and, in a
// key, the ends pinned and the way the figure faces.
struct Figure {
    Pose pose;
    int penWidth = kDefaultPenWidth;
    Pins pins{};
    Facing facing = Facing::Right;

    const std::optional<Point> &pin(Limb limb) const { return pins[static_cast<std::size_t>(limb)]; }
    std::optional<Point> &pin(Limb limb) { return pins[static_cast<std::size_t>(limb)]; }
    bool hasPins() const;

    friend bool operator==(const Figure &, const Figure &) = default;
};

inline bool Figure::hasPins() const
{
    for (const std::optional<Point> &pin : pins) {
        if (pin)
            return true;
    }
    return false;
}

} // namespace zelbrook
