#include "pose_control.h"

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

// A length field holds the slider position itself.
template <double Pose::*Field>
constexpr PoseControl length(std::string_view field)
{
    return {field,
            {5, 100},
            [](Pose &p, std::int16_t v) { p.*Field = v; },
            [](const Pose &p) { return p.*Field; },
            [](const Pose &p) { return p.*Field; }};
}

// An angle field holds whole slider degrees converted to radians.
template <double Pose::*Field>
constexpr PoseControl angle(std::string_view field, SliderRange range)
{
    return {field, range, [](Pose &p, std::int16_t v) { p.*Field = degreesToRadians(v); },
            [](const Pose &p) { return p.*Field; }, [](const Pose &p) { return radiansToDegrees(p.*Field); }};
}

constexpr SliderRange kTurn{0, 360};
constexpr SliderRange kHalfTurns{-180, 180};

const std::array<PoseControl, 18> kControls{{
    length<&Pose::bodyLength>("bodyLength"),
    // The body-angle slider measures clockwise from straight up; the
    // difference is formed in integers before the division.
    {"bodyAngle", kHalfTurns, [](Pose &p, std::int16_t v) { p.bodyAngle = degreesToRadians(90 - v); },
     [](const Pose &p) { return p.bodyAngle; }, [](const Pose &p) { return 90 - radiansToDegrees(p.bodyAngle); }},
    length<&Pose::legLength1>("legLength1"),
    length<&Pose::legLength2>("legLength2"),
    length<&Pose::armLength1>("armLength1"),
    length<&Pose::armLength2>("armLength2"),
    angle<&Pose::lLegAngle1>("lLegAngle1", kTurn),
    angle<&Pose::lLegAngle2>("lLegAngle2", kHalfTurns),
    angle<&Pose::rLegAngle1>("rLegAngle1", kTurn),
    angle<&Pose::rLegAngle2>("rLegAngle2", kHalfTurns),
    angle<&Pose::lArmAngle1>("lArmAngle1", kTurn),
    angle<&Pose::lArmAngle2>("lArmAngle2", kHalfTurns),
    // The right upper-arm slider is mirrored: position p stores -p degrees.
    {"rArmAngle1", kTurn, [](Pose &p, std::int16_t v) { p.rArmAngle1 = degreesToRadians(-v); },
     [](const Pose &p) { return p.rArmAngle1; }, [](const Pose &p) { return radiansToDegrees(-p.rArmAngle1); }},
    angle<&Pose::rArmAngle2>("rArmAngle2", kHalfTurns),
    {"headRadius",
     {5, 100},
     [](Pose &p, std::int16_t v) { p.headRadius = v; },
     [](const Pose &p) { return double(p.headRadius); },
     [](const Pose &p) { return double(p.headRadius); }},
    {"headWidth",
     {20, 150},
     [](Pose &p, std::int16_t v) { p.headWidth = v / 100.0; },
     [](const Pose &p) { return p.headWidth; },
     [](const Pose &p) { return p.headWidth * 100; }},
    {"scale",
     {5, 30},
     [](Pose &p, std::int16_t v) { p.scale = v / 10.0; },
     [](const Pose &p) { return p.scale; },
     nullptr},
    {"rotation", kHalfTurns, [](Pose &p, std::int16_t v) { p.rotation = degreesToRadians(v); },
     [](const Pose &p) { return p.rotation; }, nullptr},
}};

double valueAtPosition(const PoseControl &control, std::int16_t position)
{
    Pose pose;
    control.store(pose, position);
    return control.value(pose);
}

} // namespace

std::span<const PoseControl> poseControls() { return kControls; }

std::span<const PoseControl> syncedPoseControls() { return std::span(kControls).first(16); }

const PoseControl *findPoseControl(std::string_view field)
{
    const auto it = std::ranges::find(kControls, field, &PoseControl::field);
    return it == kControls.end() ? nullptr : &*it;
}

std::optional<FieldOutOfRange> firstFieldOutOfRange(const Pose &pose)
{
    for (const PoseControl &control : syncedPoseControls()) {
        if (sliderPositionFor(control.position(pose), control.range))
            continue;
        const double atMinimum = valueAtPosition(control, control.range.minimum);
        const double atMaximum = valueAtPosition(control, control.range.maximum);
        return FieldOutOfRange{control.field, control.value(pose), std::min(atMinimum, atMaximum),
                               std::max(atMinimum, atMaximum)};
    }
    return std::nullopt;
}

} // namespace zelbrook
