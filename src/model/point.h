// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>

namespace zelbrook {

// A position in canvas units: x to the right, y downward.
struct Point {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const Point &, const Point &) = default;
};

// The canvas's drawing area is 493 × 397 pixels for its 500 × 400 units, so
// a unit is a little less than a pixel, and not by the same amount across as
// down.
inline constexpr double kPixelsPerUnitAcross = 493.0 / 500.0;
inline constexpr double kPixelsPerUnitDown = 397.0 / 400.0;

constexpr Point canvasUnitsToPixels(Point units)
{
    return {units.x * kPixelsPerUnitAcross, units.y * kPixelsPerUnitDown};
}

constexpr Point pixelsToCanvasUnits(Point pixels)
{
    return {pixels.x / kPixelsPerUnitAcross, pixels.y / kPixelsPerUnitDown};
}

// How far apart two points given in canvas units lie on screen, in pixels.
inline double pixelDistance(Point a, Point b)
{
    return std::hypot((a.x - b.x) * kPixelsPerUnitAcross, (a.y - b.y) * kPixelsPerUnitDown);
}

} // namespace zelbrook
