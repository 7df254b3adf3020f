// SPDX-License-Identifier: GPL-3.0-or-later
#include "pinned_posing.h"

#include "limb_solve.h"
#include "pose_field.h"
#include "pose_mirror.h"

#include <cmath>

namespace zelbrook {

namespace {

constexpr double kAtPin = 0.01;

struct LimbAngleFields {
    FieldId first;
    FieldId second;
};

LimbAngleFields angleFields(Limb limb)
{
    switch (limb) {
    case Limb::LHand:
        return {FieldId::LArmAngle1, FieldId::LArmAngle2};
    case Limb::RHand:
        return {FieldId::RArmAngle1, FieldId::RArmAngle2};
    case Limb::LFoot:
        return {FieldId::LLegAngle1, FieldId::LLegAngle2};
    case Limb::RFoot:
        break;
    }
    return {FieldId::RLegAngle1, FieldId::RLegAngle2};
}

bool endAt(const Pose &pose, Limb limb, Point place)
{
    const Point end = limbJoints(pose, limb).end;
    return std::hypot(end.x - place.x, end.y - place.y) <= kAtPin;
}

Bend bendFor(const Figure &figure, Limb limb, Point target)
{
    return bendOf(figure.pose, limb).value_or(bendTowards(figure.facing, figure.pose, limb, target));
}

} // namespace

Figure keptAtPins(const Figure &before, const Figure &after)
{
    if (after.pins != before.pins || after.facing != before.facing || !after.hasPins())
        return after;
    Figure kept = after;
    for (const Limb limb : kLimbs) {
        std::optional<Point> &pin = kept.pin(limb);
        if (!pin)
            continue;
        const LimbMembers members = limbMembers(limb);
        const bool ownMoved = after.pose.*members.angle1 != before.pose.*members.angle1
                              || after.pose.*members.angle2 != before.pose.*members.angle2;
        if (ownMoved) {
            if (!endAt(after.pose, limb, *pin))
                pin.reset();
            continue;
        }
        solveLimb(kept.pose, limb, *pin, bendFor(after, limb, *pin));
    }
    return kept;
}

Figure withPinsAtEnds(const Figure &figure)
{
    Figure placed = figure;
    for (const Limb limb : kLimbs) {
        if (placed.pin(limb))
            placed.pin(limb) = limbJoints(placed.pose, limb).end;
    }
    return placed;
}

Figure pinnedAt(const Figure &figure, Limb end)
{
    Figure pinned = figure;
    pinned.pin(end) = limbJoints(figure.pose, end).end;
    return pinned;
}

Figure unpinned(const Figure &figure, Limb end)
{
    Figure freed = figure;
    freed.pin(end).reset();
    return freed;
}

Figure reachedFigure(const Figure &figure, Limb end, Point at)
{
    Figure reached = figure;
    solveLimb(reached.pose, end, at, bendFor(figure, end, at));
    const LimbAngleFields fields = angleFields(end);
    for (const FieldId id : {fields.first, fields.second}) {
        const PoseField &field = poseField(id);
        if (const auto position = sliderPositionOf(field, reached))
            field.store(reached, *position);
        else
            field.assign(reached, field.value(figure));
    }
    return figure.pin(end) ? pinnedAt(reached, end) : reached;
}

Figure landedFigure(const Figure &current, const Pose &pose, Landing landing)
{
    Figure landed = syncedFigure(current, pose);
    landed.pins = {};
    landed.facing = Facing::Right;
    const bool left = current.facing == Facing::Left;
    return left != (landing == Landing::OtherWay) ? mirrorFigure(landed) : landed;
}

} // namespace zelbrook
