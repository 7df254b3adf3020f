#pragma once

#include "joints.h"

namespace zelbrook {

// Past this distance from the origin, in canvas units, an end is cut back
// before it is handed to the canvas in single precision. It lies far outside
// the picture and the widest pen, so no pixel of a picture depends on it.
inline constexpr double kFarCanvasUnits = 1e6;

struct Segment {
    Point from;
    Point to;
};

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
