// SPDX-License-Identifier: GPL-3.0-or-later
#include "joints.h"

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

// The joint at length L in direction phi from start: phi first, then cos or
// sin, then times L, then times the scale. y is subtracted because canvas y
// grows downward while directions turn counter-clockwise on screen.
Point segmentEnd(Point start, double phi, double length, double scale)
{
    return {start.x + ((std::cos(phi) * length) * scale), start.y - ((std::sin(phi) * length) * scale)};
}

} // namespace

Joints ComputeJoints(const Pose &p)
{
    const Point hip{p.hipX, p.hipY};
    const double s = p.scale;
    const double body = p.bodyAngle + p.rotation;

    Joints j;
    j.neck = segmentEnd(hip, body, p.bodyLength, s);
    j.headCentre = segmentEnd(j.neck, body, p.headRadius, s);
    j.lKnee = segmentEnd(hip, p.lLegAngle1 + p.rotation, p.legLength1, s);
    j.lFoot = segmentEnd(j.lKnee, (p.lLegAngle2 + p.lLegAngle1) + p.rotation, p.legLength2, s);
    j.rKnee = segmentEnd(hip, p.rLegAngle1 + p.rotation, p.legLength1, s);
    j.rFoot = segmentEnd(j.rKnee, (p.rLegAngle2 + p.rLegAngle1) + p.rotation, p.legLength2, s);

    // The shoulder is measured from the hip, not the neck, at 0.8 of the
    // scaled body length; the fraction comes after the scale.
    j.shoulder = {hip.x + (((std::cos(body) * p.bodyLength) * s) * 0.8),
                  hip.y - (((std::sin(body) * p.bodyLength) * s) * 0.8)};

    j.lElbow = segmentEnd(j.shoulder, (p.lArmAngle1 + p.bodyAngle) + p.rotation, p.armLength1, s);
    j.lHand = segmentEnd(j.lElbow, ((p.lArmAngle2 + p.lArmAngle1) + p.bodyAngle) + p.rotation, p.armLength2, s);
    j.rElbow = segmentEnd(j.shoulder, (p.rArmAngle1 + p.bodyAngle) + p.rotation, p.armLength1, s);
    j.rHand = segmentEnd(j.rElbow, ((p.rArmAngle2 + p.rArmAngle1) + p.bodyAngle) + p.rotation, p.armLength2, s);
    return j;
}

double figureReach(const Pose &pose)
{
    return (pose.bodyLength + 2.0 * pose.headRadius
            + std::max(pose.legLength1 + pose.legLength2, pose.armLength1 + pose.armLength2))
           * std::abs(pose.scale);
}

} // namespace zelbrook
