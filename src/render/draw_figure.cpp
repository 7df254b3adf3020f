// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_figure.h"

#include "far_segment.h"
#include "head_outline.h"
#include "joints.h"

#include <string>

namespace zelbrook {

namespace {

// Coordinates stay doubles up to here and become single precision only as
// they are handed to the canvas.
CanvasPoint toCanvas(Point p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

// An end too far out for single precision is cut back first, so that the
// visible part of the segment survives the narrowing.
void drawSegment(Canvas &canvas, Point from, Point to, std::optional<Color> color = std::nullopt)
{
    const Segment part = clipFarSegment(from, to);
    canvas.Line(toCanvas(part.from), toCanvas(part.to), color);
}

} // namespace

void drawFigure(const Pose &pose, Canvas &canvas, std::string_view caption)
{
    canvas.Cls();
    drawLimbsAndHead(pose, canvas);
    drawCaptions(pose, canvas, caption);
}

void drawLimbsAndHead(const Pose &pose, Canvas &canvas, std::optional<Color> color, Sides sides)
{
    const Joints j = ComputeJoints(pose);
    const Point hip{pose.hipX, pose.hipY};

    // Body and legs are always black; arms and head use the foreground
    // colour, which is black. A figure in a colour of its own is all in that
    // colour.
    const std::optional<Color> body = color ? color : kBlack;
    const bool lighter = sides == Sides::LeftLighter;
    const std::optional<Color> leftLeg = lighter ? lighterTone(*body) : body;
    const std::optional<Color> leftArm = lighter ? lighterTone(color.value_or(kBlack)) : color;
    drawSegment(canvas, hip, j.neck, body);
    drawSegment(canvas, hip, j.lKnee, leftLeg);
    drawSegment(canvas, hip, j.rKnee, body);
    drawSegment(canvas, j.lKnee, j.lFoot, leftLeg);
    drawSegment(canvas, j.rKnee, j.rFoot, body);
    drawSegment(canvas, j.shoulder, j.lElbow, leftArm);
    drawSegment(canvas, j.shoulder, j.rElbow, color);
    drawSegment(canvas, j.lElbow, j.lHand, leftArm);
    drawSegment(canvas, j.rElbow, j.rHand, color);

    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre)) {
        canvas.PSet(toCanvas(clampFarPoint(pair.first)), color);
        canvas.PSet(toCanvas(clampFarPoint(pair.opposite)), color);
    }
}

Color lighterTone(Color color)
{
    Color lighter = 0;
    for (const int shift : {16, 8, 0}) {
        const Color channel = (color >> shift) & 0xFF;
        lighter |= (channel + (0xFF - channel) * 11 / 20) << shift;
    }
    return lighter;
}

void drawCaptions(const Pose &pose, Canvas &canvas, std::string_view caption)
{
    if (pose.headRadius > 90) {
        canvas.setCurrentX(350);
        canvas.setCurrentY(30);
        canvas.Print(kCleverRemark);
    }

    // The credit line mixes the two scales on purpose: the control's size in
    // window units is used as a canvas position, which puts the text in the
    // bottom right corner. The subtraction is in single precision.
    canvas.setCurrentX(canvas.Width() - 200.0f);
    canvas.setCurrentY(canvas.Height());
    canvas.Print(std::string(kCreditPrefix).append(caption));
}

} // namespace zelbrook
