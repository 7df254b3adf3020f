// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_scene.h"

#include "draw_figure.h"
#include "joint_picker.h"
#include "joints.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelbrook {

namespace {

constexpr Joint kJoints[] = {Joint::Hip,   Joint::Neck,   Joint::LKnee,  Joint::RKnee, Joint::LFoot,
                             Joint::RFoot, Joint::LElbow, Joint::RElbow, Joint::LHand, Joint::RHand};

// A ring of twelve short lines about each joint, a pixel wide, four canvas
// units across the middle.
void drawRings(const Pose &pose, Canvas &canvas)
{
    constexpr int kSides = 12;
    constexpr double kRadius = 4.0;
    const Joints joints = ComputeJoints(pose);
    canvas.setDrawWidth(1);
    for (const Joint joint : kJoints) {
        const Point centre = jointPoint(joint, pose, joints);
        const auto at = [&](int side) {
            const double angle = 2 * std::numbers::pi * side / kSides;
            return CanvasPoint{static_cast<float>(centre.x + kRadius * std::cos(angle)),
                               static_cast<float>(centre.y + kRadius * std::sin(angle))};
        };
        for (int side = 0; side < kSides; ++side)
            canvas.Line(at(side), at(side + 1), kCurrentFigureRingColor);
    }
}

// A diamond eight canvas units across with a cross in it, a pixel wide, at
// each pin of the figure.
void drawPinMarks(const Figure &figure, Canvas &canvas)
{
    constexpr float kHalf = 4.0f;
    canvas.setDrawWidth(1);
    for (const std::optional<Point> &pin : figure.pins) {
        if (!pin)
            continue;
        const auto x = static_cast<float>(pin->x);
        const auto y = static_cast<float>(pin->y);
        const CanvasPoint corners[] = {{x, y - kHalf}, {x + kHalf, y}, {x, y + kHalf}, {x - kHalf, y}};
        for (std::size_t side = 0; side < 4; ++side)
            canvas.Line(corners[side], corners[(side + 1) % 4], kPinMarkColor);
        canvas.Line(corners[0], corners[2], kPinMarkColor);
        canvas.Line(corners[1], corners[3], kPinMarkColor);
    }
}

void drawInItsColour(const SceneFigure &figure, Canvas &canvas, Sides sides = Sides::Alike)
{
    canvas.setDrawWidth(figure.figure.penWidth);
    drawLimbsAndHead(figure.figure.pose, canvas,
                     figure.color == kBlack ? std::nullopt : std::optional<Color>(figure.color), sides);
}

} // namespace

void drawSceneFigures(std::span<const SceneFigure> scene, Canvas &canvas)
{
    canvas.Cls();
    for (const SceneFigure &figure : scene)
        drawInItsColour(figure, canvas);
}

void drawScene(std::span<const SceneFigure> scene, std::span<const Ghost> ghosts, Canvas &canvas,
               std::string_view caption, std::optional<FigureId> ringed)
{
    drawScene(scene, ghosts, canvas, caption, ScreenAids{ringed});
}

void drawScene(std::span<const SceneFigure> scene, std::span<const Ghost> ghosts, Canvas &canvas,
               std::string_view caption, const ScreenAids &aids)
{
    canvas.Cls();
    for (const Ghost &ghost : ghosts) {
        canvas.setDrawWidth(ghost.figure->penWidth);
        drawLimbsAndHead(ghost.figure->pose, canvas, ghost.color, aids.sides, ghost.stroke);
    }
    const SceneFigure *marked = nullptr;
    for (const SceneFigure &figure : scene) {
        drawInItsColour(figure, canvas, aids.sides);
        if (aids.ringed == figure.id)
            marked = &figure;
    }
    if (aids.path)
        drawMotionPath(*aids.path, canvas);
    if (aids.pins) {
        for (const SceneFigure &figure : scene)
            drawPinMarks(figure.figure, canvas);
    }
    if (marked && scene.size() > 1)
        drawRings(marked->figure.pose, canvas);
    const SceneFigure *last = marked ? marked : scene.empty() ? nullptr : &scene.back();
    const auto boasts = std::find_if(scene.begin(), scene.end(),
                                     [](const SceneFigure &figure) { return figure.figure.pose.headRadius > 90; });
    if (last)
        canvas.setDrawWidth(last->figure.penWidth);
    drawCaptions(boasts != scene.end() ? boasts->figure.pose : last ? last->figure.pose : Pose{}, canvas, caption);
}

void drawScene(const Figure &figure, std::span<const Ghost> ghosts, Canvas &canvas, std::string_view caption)
{
    const SceneFigure one{kFirstFigureId, defaultFigureName(kFirstFigureId), kBlack, figure};
    drawScene(std::span(&one, 1), ghosts, canvas, caption);
}

} // namespace zelbrook
