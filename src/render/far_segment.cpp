// SPDX-License-Identifier: GPL-3.0-or-later
#include "far_segment.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace zelbrook {

namespace {

bool isFinite(Point p) { return std::isfinite(p.x) && std::isfinite(p.y); }

double reach(Point p) { return std::max(std::abs(p.x), std::abs(p.y)); }

bool withinBox(Point p) { return reach(p) <= kFarCanvasUnits; }

constexpr Box kFarBox{-kFarCanvasUnits, -kFarCanvasUnits, kFarCanvasUnits, kFarCanvasUnits};

double intoBox(double v) { return std::clamp(v, -kFarCanvasUnits, kFarCanvasUnits); }

// The point where the line from `near` towards `far` meets an edge: the
// edge's own coordinate exactly, the other from the slope, so that a segment
// along an axis stays exactly on it.
Point onEdge(Point near, Point far, int edge)
{
    const double dx = far.x / 2 - near.x / 2;
    const double dy = far.y / 2 - near.y / 2;
    if (edge < 2) {
        const double x = edge == 0 ? -kFarCanvasUnits : kFarCanvasUnits;
        return {x, intoBox(near.y + (x - near.x) * (dy / dx))};
    }
    const double y = edge == 2 ? -kFarCanvasUnits : kFarCanvasUnits;
    return {intoBox(near.x + (y - near.y) * (dx / dy)), y};
}

} // namespace

// Everything is halved first, so that the difference of two ends near the
// largest double cannot overflow; halving is exact, so the fractions are
// those of the whole numbers.
std::optional<BoxCrossing> crossBox(Point from, Point to, const Box &box)
{
    const double dx = to.x / 2 - from.x / 2;
    const double dy = to.y / 2 - from.y / 2;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x / 2 - box.left / 2, box.right / 2 - from.x / 2, from.y / 2 - box.top / 2,
                         box.bottom / 2 - from.y / 2};
    BoxCrossing crossing;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0 && r > crossing.enter) {
            crossing.enter = r;
            crossing.enterEdge = i;
        } else if (p[i] > 0.0 && r < crossing.leave) {
            crossing.leave = r;
            crossing.leaveEdge = i;
        }
    }
    if (crossing.enter > crossing.leave)
        return std::nullopt;
    return crossing;
}

Segment clipFarSegment(Point from, Point to)
{
    if (!isFinite(from) || !isFinite(to) || (withinBox(from) && withinBox(to)))
        return {from, to};
    // Measured from the nearer end, the points inside the box are as exact
    // as that end is.
    const bool fromIsNearer = reach(from) <= reach(to);
    const Point near = fromIsNearer ? from : to;
    const Point far = fromIsNearer ? to : from;
    const std::optional<BoxCrossing> edges = crossBox(near, far, kFarBox);
    if (!edges) {
        const Point edge = clampFarPoint(from);
        return {edge, edge};
    }
    const Point first = edges->enterEdge < 0 ? near : onEdge(near, far, edges->enterEdge);
    const Point last = edges->leaveEdge < 0 ? clampFarPoint(far) : onEdge(near, far, edges->leaveEdge);
    return fromIsNearer ? Segment{first, last} : Segment{last, first};
}

Point clampFarPoint(Point p) { return {intoBox(p.x), intoBox(p.y)}; }

} // namespace zelbrook
