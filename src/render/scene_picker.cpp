// SPDX-License-Identifier: GPL-3.0-or-later
#include "scene_picker.h"

#include "joint_picker.h"
#include "joints.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelbrook {

namespace {

// Whether the press may lie within `slack` pixels of any part of the figure.
bool mayReach(const Pose &pose, Point press, double slack)
{
    const double distance = pixelDistance({pose.hipX, pose.hipY}, press);
    return !(distance > figureReach(pose) * kPixelsPerUnitAcross * 1.01 + slack);
}

// How far the press lies from the segment, in pixels.
double distanceToSegment(Point from, Point to, Point press)
{
    const auto pixels = [](Point p) { return Point{p.x * kPixelsPerUnitAcross, p.y * kPixelsPerUnitDown}; };
    const Point a = pixels(from), b = pixels(to), p = pixels(press);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    const double t = length > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool nearLine(const Pose &pose, Point press, double radius)
{
    const Joints j = ComputeJoints(pose);
    const Point hip{pose.hipX, pose.hipY};
    const std::pair<Point, Point> segments[] = {{hip, j.neck},          {hip, j.lKnee},      {hip, j.rKnee},
                                                {j.lKnee, j.lFoot},     {j.rKnee, j.rFoot},  {j.shoulder, j.lElbow},
                                                {j.shoulder, j.rElbow}, {j.lElbow, j.lHand}, {j.rElbow, j.rHand}};
    return std::any_of(std::begin(segments), std::end(segments), [&](const auto &segment) {
        return distanceToSegment(segment.first, segment.second, press) <= radius;
    });
}

} // namespace

std::optional<ScenePick> pickInScene(std::span<const SceneFigure> scene, FigureId current, Point pressPixels,
                                     double grabScale)
{
    const double slack = kGrabRadius * grabScale;
    const Point press = pixelsToCanvasUnits(pressPixels);
    std::vector<const SceneFigure *> order;
    order.reserve(scene.size());
    for (const SceneFigure &figure : scene)
        if (figure.id == current && mayReach(figure.figure.pose, press, slack))
            order.push_back(&figure);
    for (auto figure = scene.rbegin(); figure != scene.rend(); ++figure)
        if (figure->id != current && mayReach(figure->figure.pose, press, slack))
            order.push_back(&*figure);
    for (const SceneFigure *figure : order)
        if (const std::optional<Joint> joint = pickJoint(figure->figure.pose, pressPixels, grabScale))
            return ScenePick{figure->id, joint};
    for (const SceneFigure *figure : order)
        if (nearLine(figure->figure.pose, press, kLineGrabRadius * grabScale))
            return ScenePick{figure->id, std::nullopt};
    return std::nullopt;
}

} // namespace zelbrook
