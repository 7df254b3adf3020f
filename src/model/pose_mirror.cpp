// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_mirror.h"

#include "field_turns.h"
#include "pinned_posing.h"
#include "pose_field.h"

namespace zelbrook {

namespace {

enum class Mirror { Direction, Angle };

struct MirroredField {
    FieldId id;
    Mirror mirror;
};

constexpr MirroredField kMirrored[] = {
    {FieldId::BodyAngle, Mirror::Direction},  {FieldId::LLegAngle1, Mirror::Direction},
    {FieldId::RLegAngle1, Mirror::Direction}, {FieldId::LLegAngle2, Mirror::Angle},
    {FieldId::RLegAngle2, Mirror::Angle},     {FieldId::LArmAngle1, Mirror::Angle},
    {FieldId::LArmAngle2, Mirror::Angle},     {FieldId::RArmAngle1, Mirror::Angle},
    {FieldId::RArmAngle2, Mirror::Angle},     {FieldId::Rotation, Mirror::Angle},
};

} // namespace

Figure mirrorFigure(const Figure &figure)
{
    Figure mirrored = figure;
    for (const MirroredField &entry : kMirrored) {
        const PoseField &field = poseField(entry.id);
        // A value off the slider's range is first brought onto it by whole
        // turns, as a slider would have to show it.
        const auto position = shownPosition(field, figure);
        if (!position)
            continue;
        const double degrees = fieldDegrees(field, *position);
        const double image = entry.mirror == Mirror::Direction ? 180 - degrees : -degrees;
        if (const auto result = positionForDegrees(field, image))
            field.store(mirrored, *result);
    }
    mirrored.facing = figure.facing == Facing::Right ? Facing::Left : Facing::Right;
    return withPinsAtEnds(mirrored);
}

} // namespace zelbrook
