// SPDX-License-Identifier: GPL-3.0-or-later
#include "side_swap.h"

#include "field_turns.h"
#include "pinned_posing.h"
#include "pose_field.h"

namespace zelbrook {

namespace {

struct SidePair {
    FieldId left;
    FieldId right;
};

constexpr SidePair kPairs[] = {
    {FieldId::LLegAngle1, FieldId::RLegAngle1},
    {FieldId::LLegAngle2, FieldId::RLegAngle2},
    {FieldId::LArmAngle1, FieldId::RArmAngle1},
    {FieldId::LArmAngle2, FieldId::RArmAngle2},
};

} // namespace

Figure swapSides(const Figure &figure)
{
    Figure swapped = figure;
    for (const SidePair &pair : kPairs) {
        const PoseField &left = poseField(pair.left);
        const PoseField &right = poseField(pair.right);
        const auto leftShown = shownPosition(left, figure);
        const auto rightShown = shownPosition(right, figure);
        if (!leftShown || !rightShown)
            continue;
        const auto leftAfter = positionForDegrees(left, fieldDegrees(right, *rightShown), *rightShown);
        const auto rightAfter = positionForDegrees(right, fieldDegrees(left, *leftShown), *leftShown);
        if (!leftAfter || !rightAfter)
            continue;
        left.store(swapped, *leftAfter);
        right.store(swapped, *rightAfter);
    }
    return withPinsAtEnds(swapped);
}

} // namespace zelbrook
