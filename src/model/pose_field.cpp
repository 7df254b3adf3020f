// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_field.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

namespace zelbrook {

namespace {

constexpr SliderRange kLengths{5, 100};
constexpr SliderRange kTurn{0, 360};
constexpr SliderRange kHalfTurns{-180, 180};

template <auto Member>
constexpr double valueOf(const Figure &f)
{
    return static_cast<double>(f.pose.*Member);
}

template <double Pose::*Member>
constexpr bool assignDouble(Figure &f, double value)
{
    f.pose.*Member = value;
    return true;
}

// A length holds the slider position itself.
template <double Pose::*Member>
constexpr PoseField length(FieldId id, std::string_view name, int fileItem, int syncStep)
{
    return {id,
            name,
            fileItem,
            syncStep,
            kLengths,
            ReadOut::Position,
            valueOf<Member>,
            assignDouble<Member>,
            [](Figure &f, std::int16_t v) { f.pose.*Member = v; },
            valueOf<Member>};
}

// An angle holds whole slider degrees converted to radians.
template <double Pose::*Member>
constexpr PoseField angle(FieldId id, std::string_view name, int fileItem, int syncStep, SliderRange range,
                          Motion motion = Motion::Straight)
{
    return {id,
            name,
            fileItem,
            syncStep,
            range,
            ReadOut::Position,
            valueOf<Member>,
            assignDouble<Member>,
            [](Figure &f, std::int16_t v) { f.pose.*Member = degreesToRadians(v); },
            [](const Figure &f) { return radiansToDegrees(f.pose.*Member); },
            motion};
}

using F = FieldId;

constexpr std::array<PoseField, kFieldCount> kFields{{
    {F::HipX, "hipX", 0, 0, std::nullopt, ReadOut::Position, valueOf<&Pose::hipX>,
     [](Figure &f, double value) {
         f.pose.hipX = static_cast<float>(value);
         return true;
     },
     nullptr, nullptr},
    {F::HipY, "hipY", 0, 0, std::nullopt, ReadOut::Position, valueOf<&Pose::hipY>, assignDouble<&Pose::hipY>, nullptr,
     nullptr},
    length<&Pose::bodyLength>(F::BodyLength, "bodyLength", 2, 1),
    // The body-angle slider measures clockwise from straight up; the
    // difference is formed in integers before the division.
    {F::BodyAngle, "bodyAngle", 3, 2, kHalfTurns, ReadOut::Position, valueOf<&Pose::bodyAngle>,
     assignDouble<&Pose::bodyAngle>, [](Figure &f, std::int16_t v) { f.pose.bodyAngle = degreesToRadians(90 - v); },
     [](const Figure &f) { return 90 - radiansToDegrees(f.pose.bodyAngle); }, Motion::Turn},
    length<&Pose::legLength1>(F::LegLength1, "legLength1", 4, 3),
    length<&Pose::legLength2>(F::LegLength2, "legLength2", 5, 4),
    angle<&Pose::lLegAngle1>(F::LLegAngle1, "lLegAngle1", 6, 7, kTurn, Motion::Turn),
    angle<&Pose::lLegAngle2>(F::LLegAngle2, "lLegAngle2", 7, 8, kHalfTurns),
    angle<&Pose::rLegAngle1>(F::RLegAngle1, "rLegAngle1", 8, 9, kTurn, Motion::Turn),
    angle<&Pose::rLegAngle2>(F::RLegAngle2, "rLegAngle2", 9, 10, kHalfTurns),
    length<&Pose::armLength1>(F::ArmLength1, "armLength1", 10, 5),
    length<&Pose::armLength2>(F::ArmLength2, "armLength2", 11, 6),
    angle<&Pose::lArmAngle1>(F::LArmAngle1, "lArmAngle1", 12, 11, kTurn, Motion::Turn),
    angle<&Pose::lArmAngle2>(F::LArmAngle2, "lArmAngle2", 13, 12, kHalfTurns),
    // The right upper-arm slider is mirrored: position p stores -p degrees.
    {F::RArmAngle1, "rArmAngle1", 14, 13, kTurn, ReadOut::Position, valueOf<&Pose::rArmAngle1>,
     assignDouble<&Pose::rArmAngle1>, [](Figure &f, std::int16_t v) { f.pose.rArmAngle1 = degreesToRadians(-v); },
     [](const Figure &f) { return radiansToDegrees(-f.pose.rArmAngle1); }, Motion::Turn},
    {F::HeadRadius, "headRadius", 16, 15, kLengths, ReadOut::Position, valueOf<&Pose::headRadius>,
     [](Figure &f, double value) {
         const auto whole = roundToInt16(value);
         f.pose.headRadius = whole.value_or(f.pose.headRadius);
         return whole.has_value();
     },
     [](Figure &f, std::int16_t v) { f.pose.headRadius = v; }, valueOf<&Pose::headRadius>, Motion::Whole},
    angle<&Pose::rArmAngle2>(F::RArmAngle2, "rArmAngle2", 15, 14, kHalfTurns),
    {F::HeadWidth, "headWidth", 17, 16, SliderRange{20, 150}, ReadOut::StoredValue, valueOf<&Pose::headWidth>,
     assignDouble<&Pose::headWidth>, [](Figure &f, std::int16_t v) { f.pose.headWidth = v / 100.0; },
     [](const Figure &f) { return f.pose.headWidth * 100; }},
    {F::Rotation, "rotation", 0, 0, kHalfTurns, ReadOut::Position, valueOf<&Pose::rotation>,
     assignDouble<&Pose::rotation>, [](Figure &f, std::int16_t v) { f.pose.rotation = degreesToRadians(v); },
     [](const Figure &f) { return radiansToDegrees(f.pose.rotation); }, Motion::Turn},
    {F::Scale, "scale", 0, 0, SliderRange{5, 30}, ReadOut::StoredValue, valueOf<&Pose::scale>,
     assignDouble<&Pose::scale>, [](Figure &f, std::int16_t v) { f.pose.scale = v / 10.0; },
     [](const Figure &f) { return f.pose.scale * 10; }},
    {F::PenWidth, "penWidth", 0, 0, kPenWidthRange, ReadOut::Position,
     [](const Figure &f) { return double(f.penWidth); },
     [](Figure &f, double value) {
         const auto whole = roundToInt16(value);
         f.penWidth = whole.value_or(f.penWidth);
         return whole.has_value();
     },
     [](Figure &f, std::int16_t v) { f.penWidth = v; }, [](const Figure &f) { return double(f.penWidth); },
     Motion::Held},
}};

constexpr bool rowsFollowTheirIds()
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (static_cast<std::size_t>(kFields[i].id) != i)
            return false;
    }
    return true;
}
static_assert(rowsFollowTheirIds(), "every row stands at the index of its FieldId");

// The fields with a number in the given column, ordered by it.
template <int PoseField::*Column, std::size_t Count>
constexpr std::array<const PoseField *, Count> orderedBy()
{
    std::array<const PoseField *, Count> ordered{};
    for (const PoseField &field : kFields) {
        if (field.*Column > 0)
            ordered[static_cast<std::size_t>(field.*Column) - (Column == &PoseField::fileItem ? 2 : 1)] = &field;
    }
    return ordered;
}

constexpr auto kSynced = orderedBy<&PoseField::syncStep, 16>();
constexpr auto kFileOrder = orderedBy<&PoseField::fileItem, 16>();

double valueAtPosition(const PoseField &field, std::int16_t position)
{
    Figure figure;
    field.store(figure, position);
    return field.value(figure);
}

} // namespace

std::span<const PoseField> poseFields() { return kFields; }

const PoseField &poseField(FieldId id) { return kFields[static_cast<std::size_t>(id)]; }

std::span<const PoseField *const> syncedFields() { return kSynced; }

std::span<const PoseField *const> fileFields() { return kFileOrder; }

std::optional<std::int16_t> sliderPositionOf(const PoseField &field, const Figure &figure)
{
    return sliderPositionFor(field.position(figure), *field.range);
}

std::optional<FieldOutOfRange> firstFieldOutOfRange(const Pose &pose)
{
    const Figure figure{pose};
    for (const PoseField *field : syncedFields()) {
        if (sliderPositionOf(*field, figure))
            continue;
        const double atMinimum = valueAtPosition(*field, field->range->minimum);
        const double atMaximum = valueAtPosition(*field, field->range->maximum);
        return FieldOutOfRange{field, field->value(figure), std::min(atMinimum, atMaximum),
                               std::max(atMinimum, atMaximum)};
    }
    return std::nullopt;
}

bool sameFigure(const Figure &a, const Figure &b)
{
    return a.pins == b.pins && a.facing == b.facing && fieldsThatDiffer(a, b).none();
}

FieldSet fieldsThatDiffer(const Figure &before, const Figure &after)
{
    const auto same = [](double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    FieldSet fields;
    for (const PoseField &field : poseFields())
        fields[static_cast<std::size_t>(field.id)] = !same(field.value(before), field.value(after));
    return fields;
}

Figure syncedFigure(const Figure &current, const Pose &loaded)
{
    Figure result{loaded, current.penWidth};
    result.facing = current.facing;
    for (const PoseField *field : syncedFields()) {
        const auto position = sliderPositionOf(*field, result);
        assert(position);
        if (position != sliderPositionOf(*field, current))
            field->store(result, *position);
    }
    return result;
}

} // namespace zelbrook
