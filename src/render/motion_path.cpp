// SPDX-License-Identifier: GPL-3.0-or-later
#include "motion_path.h"

#include "far_segment.h"
#include "joint_picker.h"

#include <optional>

namespace zelbrook {

namespace {

CanvasPoint toCanvas(Point p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

// The figure as a frame shows it, as the frame's scene has it.
std::optional<Figure> figureInFrame(const Animation &animation, const FrameRef &frame, FigureId id)
{
    const Key &from = animation.key(frame.key);
    const KeyFigure *first = from.find(id);
    if (!first)
        return std::nullopt;
    if (frame.step == 0)
        return first->figure;
    const KeyFigure *next = animation.key((frame.key + 1) % animation.keyCount()).find(id);
    if (!next)
        return std::nullopt;
    return inBetween(first->figure, next->figure, frame.step, frame.of, from.ease);
}

Point jointOf(const Figure &figure, Joint joint) { return jointPoint(joint, figure.pose, ComputeJoints(figure.pose)); }

} // namespace

MotionPath traceMotionPath(const Animation &animation, FigureId figure, Joint joint)
{
    MotionPath path;
    bool shownBefore = false;
    bool shownFirst = false;
    std::optional<FrameRef> previous;
    for (const FrameRef &frame : animation.frames()) {
        if (frame == previous)
            continue;
        const bool first = !previous;
        previous = frame;
        const std::optional<Figure> shown = figureInFrame(animation, frame, figure);
        if (shown)
            path.dots.push_back({jointOf(*shown, joint), frame.step == 0, shownBefore});
        shownBefore = shown.has_value();
        shownFirst = first ? shownBefore : shownFirst;
    }
    path.closed = animation.playback().loop && shownFirst && shownBefore && path.dots.size() > 1;
    return path;
}

void drawMotionPath(const MotionPath &path, Canvas &canvas)
{
    const auto line = [&](Point from, Point to) {
        const Segment part = clipFarSegment(from, to);
        canvas.Line(toCanvas(part.from), toCanvas(part.to), kMotionPathColor);
    };
    canvas.setDrawWidth(1);
    for (std::size_t i = 1; i < path.dots.size(); ++i)
        if (path.dots[i].joined)
            line(path.dots[i - 1].at, path.dots[i].at);
    if (path.closed)
        line(path.dots.back().at, path.dots.front().at);
    for (const bool keys : {false, true}) {
        canvas.setDrawWidth(keys ? kPathKeyDot : kPathFrameDot);
        for (const PathDot &dot : path.dots)
            if (dot.key == keys)
                canvas.PSet(toCanvas(clampFarPoint(dot.at)), kMotionPathColor);
    }
}

} // namespace zelbrook
