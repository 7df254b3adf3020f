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

// The in-betweens after the last key lead back to the first only when the
// animation loops.
int tweensPlayedAfter(const Animation &animation, std::size_t key)
{
    return key + 1 < animation.keyCount() || animation.playback().loop ? animation.key(key).tweens : 0;
}

// A dot for each frame of the key that shows the figure: the key once,
// however long its hold, then the in-betweens played after it. `shown`
// tells whether the frame before showed the figure, and is left telling
// whether the key's last frame does.
void addKeyDots(const Animation &animation, std::size_t key, FigureId figure, Joint joint, bool &shown,
                std::vector<PathDot> &dots)
{
    const int tweens = tweensPlayedAfter(animation, key);
    for (int step = 0; step <= tweens; ++step) {
        const std::optional<Figure> inFrame = figureInFrame(animation, {key, step, step == 0 ? 0 : tweens}, figure);
        if (inFrame)
            dots.push_back({jointOf(*inFrame, joint), step == 0, shown});
        shown = inFrame.has_value();
    }
}

} // namespace

MotionPath traceMotionPath(const Animation &animation, FigureId figure, Joint joint)
{
    MotionPath path;
    bool shown = false;
    for (std::size_t key = 0; key < animation.keyCount(); ++key) {
        path.keyStarts.push_back(path.dots.size());
        addKeyDots(animation, key, figure, joint, shown, path.dots);
    }
    path.keyStarts.push_back(path.dots.size());
    path.closed = animation.playback().loop && animation.key(0).holds(figure) && shown && path.dots.size() > 1;
    return path;
}

bool retraceAroundKey(MotionPath &path, const Animation &animation, FigureId figure, Joint joint, std::size_t key)
{
    const std::size_t keys = animation.keyCount();
    if (key >= keys || path.keyStarts.size() != keys + 1)
        return false;
    std::vector<PathDot> dots;
    for (const std::size_t changed : {key > 0 ? key - 1 : keys - 1, key}) {
        dots.clear();
        bool shown = false;
        addKeyDots(animation, changed, figure, joint, shown, dots);
        const std::size_t first = path.keyStarts[changed];
        if (dots.size() != path.keyStarts[changed + 1] - first)
            return false;
        for (std::size_t i = 0; i < dots.size(); ++i)
            path.dots[first + i].at = dots[i].at;
    }
    return true;
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
