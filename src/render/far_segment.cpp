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

// Where a segment enters and leaves the box, as the edge it crosses there:
// 0 and 1 the left and right edges, 2 and 3 the top and bottom ones, -1
// where the segment's own end lies inside.
struct Crossing {
    int enter = -1;
    int leave = -1;
};

// Liang-Barsky from the nearer end. Everything is halved first, so that the
// difference of two ends near the largest double cannot overflow.
std::optional<Crossing> crossing(Point near, Point far)
{
    const double half = kFarCanvasUnits / 2;
    const double dx = far.x / 2 - near.x / 2;
    const double dy = far.y / 2 - near.y / 2;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {near.x / 2 + half, half - near.x / 2, near.y / 2 + half, half - near.y / 2};
    double enter = 0.0;
    double leave = 1.0;
    Crossing edges;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return std::nullopt;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0 && r > enter) {
            enter = r;
            edges.enter = i;
        } else if (p[i] > 0.0 && r < leave) {
            leave = r;
            edges.leave = i;
        }
    }
    if (enter > leave)
        return std::nullopt;
    return edges;
}

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

Segment clipFarSegment(Point from, Point to)
{
    if (!isFinite(from) || !isFinite(to) || (withinBox(from) && withinBox(to)))
        return {from, to};
    // Measured from the nearer end, the points inside the box are as exact
    // as that end is.
    const bool fromIsNearer = reach(from) <= reach(to);
    const Point near = fromIsNearer ? from : to;
    const Point far = fromIsNearer ? to : from;
    const std::optional<Crossing> edges = crossing(near, far);
    if (!edges) {
        const Point edge = clampFarPoint(from);
        return {edge, edge};
    }
    const Point first = edges->enter < 0 ? near : onEdge(near, far, edges->enter);
    const Point last = edges->leave < 0 ? clampFarPoint(far) : onEdge(near, far, edges->leave);
    return fromIsNearer ? Segment{first, last} : Segment{last, first};
}

Point clampFarPoint(Point p) { return {intoBox(p.x), intoBox(p.y)}; }

} // namespace zelbrook
