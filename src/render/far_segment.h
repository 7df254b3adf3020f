// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "joints.h"

#include <optional>

namespace zelbrook {

// Past this distance from the origin, in canvas units, an end is cut back
// before it is handed to the canvas in single precision. It lies far outside
// the picture and the widest pen, so no pixel of a picture depends on it.
inline constexpr double kFarCanvasUnits = 1e6;

struct Segment {
    Point from;
    Point to;
};

struct Box {
    double left;
    double top;
    double right;
    double bottom;
};

// Where a segment enters and leaves a box: the fractions of the way from its
// start to its end, and the edges crossed there (0 and 1 the left and right
// edges, 2 and 3 the top and bottom ones, -1 where the segment's own end lies
// inside).
struct BoxCrossing {
    double enter = 0.0;
    double leave = 1.0;
    int enterEdge = -1;
    int leaveEdge = -1;
};

// Liang-Barsky; empty when no part of the segment lies in the box. The ends
// must be finite; ends near the largest double are fine.
std::optional<BoxCrossing> crossBox(Point from, Point to, const Box &box);

// The segment as it is when both ends lie within kFarCanvasUnits on both
// axes. Otherwise the part of it inside that box, worked out in double
// precision from the end nearer the picture, so that a segment whose ends no
// single-precision number can hold still crosses the picture where it
// should. A segment that misses the box becomes a point on the box's edge; a
// segment with an end that is not a finite number is left as it is.
Segment clipFarSegment(Point from, Point to);

// A point beyond the box moved onto its edge, which keeps it out of sight.
Point clampFarPoint(Point p);

} // namespace zelbrook
