// SPDX-License-Identifier: GPL-3.0-or-later
#include "joint_drag.h"

#include "slider_position.h"
#include "slider_turns.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelbrook {

namespace {

constexpr double kCanvasWidth = 500;
constexpr double kCanvasHeight = 400;

// The direction from one point to another in radians, counter-clockwise as
// seen on screen, where y grows downward.
double direction(Point from, Point to) { return std::atan2(-(to.y - from.y), to.x - from.x); }

double wholeUnitWithin(double value, double highest) { return std::clamp(std::nearbyint(value), 0.0, highest); }

} // namespace

JointHandle jointHandle(Joint joint)
{
    // In the order of Joint.
    static constexpr JointHandle kHandles[] = {
        {FieldId::HipX, Pivot::Hip},
        {FieldId::BodyAngle, Pivot::Hip},
        {FieldId::LLegAngle1, Pivot::Hip},
        {FieldId::RLegAngle1, Pivot::Hip},
        {FieldId::LLegAngle2, Pivot::LKnee},
        {FieldId::RLegAngle2, Pivot::RKnee},
        {FieldId::LArmAngle1, Pivot::Shoulder},
        {FieldId::RArmAngle1, Pivot::Shoulder},
        {FieldId::LArmAngle2, Pivot::LElbow},
        {FieldId::RArmAngle2, Pivot::RElbow},
    };
    return kHandles[static_cast<std::size_t>(joint)];
}

std::optional<Limb> limbEndingAt(Joint joint)
{
    switch (joint) {
    case Joint::LHand:
        return Limb::LHand;
    case Joint::RHand:
        return Limb::RHand;
    case Joint::LFoot:
        return Limb::LFoot;
    case Joint::RFoot:
        return Limb::RFoot;
    default:
        return std::nullopt;
    }
}

std::optional<std::int16_t> draggedPosition(const JointDrag &drag, Point mouse, std::int16_t positionBefore)
{
    const PoseField &field = poseField(drag.field);
    if (!field.hasSlider() || pixelDistance(drag.pivot, mouse) <= kDragStillRadius)
        return std::nullopt;
    // The turn is taken the short way round, so that crossing the direction
    // opposite the press never makes the result jump.
    const double turn =
        std::remainder(direction(drag.pivot, mouse) - direction(drag.pivot, drag.press), 2 * std::numbers::pi);
    Figure turned = drag.atPress;
    field.assign(turned, field.value(drag.atPress) + turn);
    const auto position = roundToInt16(field.position(turned));
    if (!position)
        return std::nullopt;
    return wrapByWholeTurns(*position, *field.range, positionBefore);
}

Point draggedHip(const JointDrag &drag, Point mouse)
{
    const Pose &pose = drag.atPress.pose;
    return {wholeUnitWithin(pose.hipX + (mouse.x - drag.press.x), kCanvasWidth),
            wholeUnitWithin(pose.hipY + (mouse.y - drag.press.y), kCanvasHeight)};
}

Figure draggedFigure(const JointDrag &drag, const Figure &current, Point mouse)
{
    Figure result = current;
    if (drag.field == FieldId::HipX || drag.field == FieldId::HipY) {
        const Point hip = draggedHip(drag, mouse);
        result.pose.hipX = static_cast<float>(hip.x);
        result.pose.hipY = hip.y;
        return result;
    }
    const PoseField &field = poseField(drag.field);
    const auto before = sliderPositionOf(field, current);
    if (!before)
        return result;
    if (const auto position = draggedPosition(drag, mouse, *before))
        field.store(result, *position);
    return result;
}

} // namespace zelbrook
