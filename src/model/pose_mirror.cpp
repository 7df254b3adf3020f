// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_mirror.h"

#include "pose_field.h"
#include "slider_position.h"
#include "slider_turns.h"

#include <cmath>

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

// The whole number of degrees a slider position stands for in the field
// itself; the conversions there and back differ from whole numbers only in
// the last bits, which the rounding takes away.
double fieldDegrees(const PoseField &field, std::int16_t position)
{
    Figure figure;
    field.store(figure, position);
    return std::nearbyint(radiansToDegrees(field.value(figure)));
}

std::optional<std::int16_t> positionForDegrees(const PoseField &field, double degrees)
{
    Figure figure;
    field.assign(figure, degreesToRadians(degrees));
    const auto position = roundToInt16(field.position(figure));
    if (!position)
        return std::nullopt;
    // A position already on the slider stays as it is.
    return wrapByWholeTurns(*position, *field.range, *position);
}

} // namespace

Figure mirrorFigure(const Figure &figure)
{
    Figure mirrored = figure;
    for (const MirroredField &entry : kMirrored) {
        const PoseField &field = poseField(entry.id);
        // A value off the slider's range is first brought onto it by whole
        // turns, as a slider would have to show it.
        const auto shown = roundToInt16(field.position(figure));
        if (!shown)
            continue;
        const auto position = wrapByWholeTurns(*shown, *field.range, *shown);
        if (!position)
            continue;
        const double degrees = fieldDegrees(field, *position);
        const double image = entry.mirror == Mirror::Direction ? 180 - degrees : -degrees;
        if (const auto result = positionForDegrees(field, image))
            field.store(mirrored, *result);
    }
    return mirrored;
}

} // namespace zelbrook
