// SPDX-License-Identifier: GPL-3.0-or-later
#include "joint_picker.h"

#include <cmath>
#include <utility>

namespace zelbrook {

namespace {

struct Candidate {
    Joint joint;
    // Lower goes first at equal distance.
    int rank;
};

constexpr Candidate kCandidates[] = {
    {Joint::LHand, 0},  {Joint::RHand, 0}, {Joint::LFoot, 0}, {Joint::RFoot, 0}, {Joint::LElbow, 1},
    {Joint::RElbow, 1}, {Joint::LKnee, 1}, {Joint::RKnee, 1}, {Joint::Neck, 2},  {Joint::Hip, 3},
};

Point hipOf(const Pose &pose) { return {pose.hipX, pose.hipY}; }

} // namespace

// Where each joint and pivot lies among the computed joints, in the order of
// Joint and Pivot; the hip is the pose's own point.
Point jointPoint(Joint joint, const Pose &pose, const Joints &joints)
{
    static constexpr Point Joints::*kJoints[] = {nullptr,        &Joints::neck,  &Joints::lKnee,  &Joints::rKnee,
                                                 &Joints::lFoot, &Joints::rFoot, &Joints::lElbow, &Joints::rElbow,
                                                 &Joints::lHand, &Joints::rHand};
    const auto member = kJoints[static_cast<std::size_t>(joint)];
    return member ? joints.*member : hipOf(pose);
}

Point pivotPoint(Pivot pivot, const Pose &pose, const Joints &joints)
{
    static constexpr Point Joints::*kPivots[] = {nullptr,        &Joints::shoulder, &Joints::lKnee,
                                                 &Joints::rKnee, &Joints::lElbow,   &Joints::rElbow};
    const auto member = kPivots[static_cast<std::size_t>(pivot)];
    return member ? joints.*member : hipOf(pose);
}

bool insideHead(const Pose &pose, Point point)
{
    const Point centre = ComputeJoints(pose).headCentre;
    // The head's half-axes: along the body and across it.
    const double along = std::abs(pose.headRadius * pose.scale);
    const double across = std::abs((pose.headRadius * pose.headWidth) * pose.scale);
    if (!(along > 0 && across > 0))
        return false;
    // The body's direction on screen, where y grows downward.
    const double phi = pose.bodyAngle + pose.rotation;
    const double dx = point.x - centre.x;
    const double dy = point.y - centre.y;
    const double u = (dx * std::cos(phi) - dy * std::sin(phi)) / along;
    const double v = (dx * std::sin(phi) + dy * std::cos(phi)) / across;
    return u * u + v * v <= 1;
}

std::optional<Joint> pickJoint(const Pose &pose, Point pressPixels, double grabScale)
{
    const double radius = kGrabRadius * grabScale;
    const Joints joints = ComputeJoints(pose);
    const Point press = pixelsToCanvasUnits(pressPixels);
    std::optional<std::pair<double, int>> best;
    std::optional<Joint> picked;
    for (const Candidate &candidate : kCandidates) {
        const double distance = pixelDistance(jointPoint(candidate.joint, pose, joints), press);
        const std::pair<double, int> key{distance, candidate.rank};
        if (distance <= radius && (!best || key < *best)) {
            best = key;
            picked = candidate.joint;
        }
    }
    if (!picked && insideHead(pose, press))
        picked = Joint::Neck;
    return picked;
}

JointDrag startJointDrag(Joint joint, const Figure &figure, Point press)
{
    const Joints joints = ComputeJoints(figure.pose);
    const JointHandle handle = jointHandle(joint);
    const Point pivot = pivotPoint(handle.pivot, figure.pose, joints);
    const bool tooClose = joint != Joint::Hip && pixelDistance(pivot, press) <= kDragStillRadius;
    return {handle.field, figure, pivot, tooClose ? jointPoint(joint, figure.pose, joints) : press};
}

} // namespace zelbrook
