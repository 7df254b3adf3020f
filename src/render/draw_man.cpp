#include "draw_man.h"

#include "head_outline.h"
#include "joints.h"

#include <string>

namespace zelbrook {

namespace {

// Coordinates stay doubles up to here and become single precision only as
// they are handed to the canvas.
CanvasPoint toCanvas(Point p) { return {static_cast<float>(p.x), static_cast<float>(p.y)}; }

} // namespace

void DrawMan(const Pose &pose, Canvas &canvas, std::string_view caption)
{
    canvas.Cls();

    const Joints j = ComputeJoints(pose);
    const CanvasPoint hip{pose.hipX, static_cast<float>(pose.hipY)};

    // Body and legs are always black; arms and head use the foreground colour.
    canvas.Line(hip, toCanvas(j.neck), kBlack);
    canvas.Line(hip, toCanvas(j.lKnee), kBlack);
    canvas.Line(hip, toCanvas(j.rKnee), kBlack);
    canvas.Line(toCanvas(j.lKnee), toCanvas(j.lFoot), kBlack);
    canvas.Line(toCanvas(j.rKnee), toCanvas(j.rFoot), kBlack);
    canvas.Line(toCanvas(j.shoulder), toCanvas(j.lElbow));
    canvas.Line(toCanvas(j.shoulder), toCanvas(j.rElbow));
    canvas.Line(toCanvas(j.lElbow), toCanvas(j.lHand));
    canvas.Line(toCanvas(j.rElbow), toCanvas(j.rHand));

    for (const HeadPair &pair : ComputeHeadOutline(pose, j.headCentre)) {
        canvas.PSet(toCanvas(pair.first));
        canvas.PSet(toCanvas(pair.opposite));
    }

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
