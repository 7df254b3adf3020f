// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_figure.h"

#include "far_segment.h"
#include "head_outline.h"
#include "joints.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace zelbrook {

namespace {

// Coordinates stay doubles up to here and become single precision only as
// they are handed to the canvas.
CanvasPoint toCanvas(Point p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

// Dashes and the gaps between them, in canvas units, grow with the pen, so
// that a gap still shows between the round ends of two dashes. A period of
// 0 is a solid line.
struct Dashes {
    double dash = 0.0;
    double period = 0.0;
};

Dashes dashesFor(int penWidth) { return {3.0 * penWidth, 5.0 * penWidth}; }

// A longer segment lies mostly far off the picture and is drawn whole
// rather than in countless dashes.
constexpr double kLongestDashed = 2000.0;

// An end too far out for single precision is cut back first, so that the
// visible part of the segment survives the narrowing. A dashed segment
// starts with a dash, so that even one of no length shows.
void drawSegment(Canvas &canvas, Point from, Point to, std::optional<Color> color, Dashes dashes)
{
    const Segment part = clipFarSegment(from, to);
    const double length = std::hypot(part.to.x - part.from.x, part.to.y - part.from.y);
    if (dashes.period <= 0 || !(length <= kLongestDashed)) {
        canvas.Line(toCanvas(part.from), toCanvas(part.to), color);
        return;
    }
    const auto at = [&](double along) {
        const double t = length == 0 ? 0 : std::min(along, length) / length;
        return toCanvas({part.from.x + (part.to.x - part.from.x) * t, part.from.y + (part.to.y - part.from.y) * t});
    };
    // A dash would start at the very end only by rounding.
    for (double start = 0; start == 0 || start < length - 1e-6; start += dashes.period)
        canvas.Line(at(start), at(start + dashes.dash), color);
}

// Whether a head dot lies on a dash, measured along a circle of the head's
// radius from the direction straight left of its centre.
bool onDash(Point dot, Point centre, double radius, const Dashes &dashes)
{
    const double turned = std::atan2(dot.y - centre.y, dot.x - centre.x) + std::numbers::pi;
    return std::fmod(turned * radius, dashes.period) < dashes.dash;
}

} // namespace

void drawFigure(const Pose &pose, Canvas &canvas, std::string_view caption)
{
    canvas.Cls();
    drawLimbsAndHead(pose, canvas);
    drawCaptions(pose, canvas, caption);
}

void drawLimbsAndHead(const Pose &pose, Canvas &canvas, std::optional<Color> color, Sides sides, Stroke stroke)
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
    const Dashes dashes = stroke == Stroke::Dashed ? dashesFor(canvas.DrawWidth()) : Dashes{};
    drawSegment(canvas, hip, j.neck, body, dashes);
    drawSegment(canvas, hip, j.lKnee, leftLeg, dashes);
    drawSegment(canvas, hip, j.rKnee, body, dashes);
    drawSegment(canvas, j.lKnee, j.lFoot, leftLeg, dashes);
    drawSegment(canvas, j.rKnee, j.rFoot, body, dashes);
    drawSegment(canvas, j.shoulder, j.lElbow, leftArm, dashes);
    drawSegment(canvas, j.shoulder, j.rElbow, color, dashes);
    drawSegment(canvas, j.lElbow, j.lHand, leftArm, dashes);
    drawSegment(canvas, j.rElbow, j.rHand, color, dashes);

    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre)) {
        for (const Point dot : {pair.first, pair.opposite}) {
            if (dashes.period <= 0 || onDash(dot, j.headCentre, pose.headRadius * pose.scale, dashes))
                canvas.PSet(toCanvas(clampFarPoint(dot)), color);
        }
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
