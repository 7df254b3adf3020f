// SPDX-License-Identifier: GPL-3.0-or-later
#include "limb.h"

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

constexpr std::array<std::string_view, kLimbCount> kNames = {"lHand", "rHand", "lFoot", "rFoot"};

Point segmentEnd(Point start, double phi, double length, double scale)
{
    return {start.x + ((std::cos(phi) * length) * scale), start.y - ((std::sin(phi) * length) * scale)};
}

} // namespace

std::string_view limbName(Limb limb) { return kNames[static_cast<std::size_t>(limb)]; }

std::optional<Limb> limbNamed(std::string_view name)
{
    const auto found = std::ranges::find(kNames, name);
    return found == kNames.end() ? std::nullopt : std::optional(kLimbs[std::size_t(found - kNames.begin())]);
}

bool isArm(Limb limb) { return limb == Limb::LHand || limb == Limb::RHand; }

LimbMembers limbMembers(Limb limb)
{
    switch (limb) {
    case Limb::LHand:
        return {&Pose::armLength1, &Pose::armLength2, &Pose::lArmAngle1, &Pose::lArmAngle2};
    case Limb::RHand:
        return {&Pose::armLength1, &Pose::armLength2, &Pose::rArmAngle1, &Pose::rArmAngle2};
    case Limb::LFoot:
        return {&Pose::legLength1, &Pose::legLength2, &Pose::lLegAngle1, &Pose::lLegAngle2};
    case Limb::RFoot:
        break;
    }
    return {&Pose::legLength1, &Pose::legLength2, &Pose::rLegAngle1, &Pose::rLegAngle2};
}

double limbBaseDirection(const Pose &pose, Limb limb)
{
    return isArm(limb) ? pose.bodyAngle + pose.rotation : pose.rotation;
}

// The sums are grouped as the drawing groups them: the second angle is added
// to the first, then the body's angle, then the rotation.
LimbJoints limbJoints(const Pose &p, Limb limb)
{
    const LimbMembers m = limbMembers(limb);
    const double s = p.scale;
    const Point hip{p.hipX, p.hipY};
    LimbJoints joints;
    if (isArm(limb)) {
        const double body = p.bodyAngle + p.rotation;
        joints.root = {hip.x + (((std::cos(body) * p.bodyLength) * s) * 0.8),
                       hip.y - (((std::sin(body) * p.bodyLength) * s) * 0.8)};
        joints.bend = segmentEnd(joints.root, (p.*m.angle1 + p.bodyAngle) + p.rotation, p.*m.length1, s);
        joints.end = segmentEnd(joints.bend, ((p.*m.angle2 + p.*m.angle1) + p.bodyAngle) + p.rotation, p.*m.length2, s);
    } else {
        joints.root = hip;
        joints.bend = segmentEnd(hip, p.*m.angle1 + p.rotation, p.*m.length1, s);
        joints.end = segmentEnd(joints.bend, (p.*m.angle2 + p.*m.angle1) + p.rotation, p.*m.length2, s);
    }
    return joints;
}

} // namespace zelbrook
