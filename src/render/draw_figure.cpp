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

void drawLimbsAndHead(const Pose &pose, Canvas &canvas, std::optional<Color> color)
{
    const Joints j = ComputeJoints(pose);
    const Point hip{pose.hipX, pose.hipY};

    // Body and legs are always black; arms and head use the foreground
    // colour. A figure in a colour of its own is all in that colour.
    const std::optional<Color> body = color ? color : kBlack;
    drawSegment(canvas, hip, j.neck, body);
    drawSegment(canvas, hip, j.lKnee, body);
    drawSegment(canvas, hip, j.rKnee, body);
    drawSegment(canvas, j.lKnee, j.lFoot, body);
    drawSegment(canvas, j.rKnee, j.rFoot, body);
    drawSegment(canvas, j.shoulder, j.lElbow, color);
    drawSegment(canvas, j.shoulder, j.rElbow, color);
    drawSegment(canvas, j.lElbow, j.lHand, color);
    drawSegment(canvas, j.rElbow, j.rHand, color);

    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre)) {
        canvas.PSet(toCanvas(clampFarPoint(pair.first)), color);
        canvas.PSet(toCanvas(clampFarPoint(pair.opposite)), color);
    }
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
