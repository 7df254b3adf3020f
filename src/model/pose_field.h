// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "slider_position.h"

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace zelbrook {

// Every value a figure is drawn from, in the order of the pose's fields, the
// pen last.
enum class FieldId : std::uint8_t {
    HipX,
    HipY,
    BodyLength,
    BodyAngle,
    LegLength1,
    LegLength2,
    LLegAngle1,
    LLegAngle2,
    RLegAngle1,
    RLegAngle2,
    ArmLength1,
    ArmLength2,
    LArmAngle1,
    LArmAngle2,
    RArmAngle1,
    HeadRadius,
    RArmAngle2,
    HeadWidth,
    Rotation,
    Scale,
    PenWidth,
};
inline constexpr std::size_t kFieldCount = 21;
using FieldSet = std::bitset<kFieldCount>;

// What a field's read-out box shows: its slider's position as integer text,
// or the stored value in general number form (0.7, 1.5, 1).
enum class ReadOut { Position, StoredValue };

// How a field moves between two keys of an animation: a direction that may
// turn the whole way round takes the shorter way; other values go straight,
// a whole-numbered one rounded; the pen keeps the first key's width.
enum class Motion { Straight, Turn, Whole, Held };

// One value of the figure and everything that meets it: its slider, its
// read-out, its item in a pose file and its step in the control sync. The
// slider conversions sit side by side because each is the exact inverse of
// the other for every whole-numbered position.
struct PoseField {
    FieldId id;
    // The pose member's name; also its key in JSON and its name in messages.
    std::string_view name;
    // The item that holds it in a pose file (2 to 17), 0 when none does.
    int fileItem;
    // Its step in the control sync (1 to 16), 0 when the sync leaves it.
    int syncStep;
    // Its slider's range; hipX and hipY have no slider.
    std::optional<SliderRange> range;
    ReadOut readOut;
    double (*value)(const Figure &figure);
    // Stores a value exactly, as a pose file gives it; a 16-bit field takes
    // it rounded, a single-precision field narrowed. False, and nothing
    // stored, when a 16-bit field cannot hold it.
    bool (*assign)(Figure &figure, double value);
    // Stores the value of a slider position.
    void (*store)(Figure &figure, std::int16_t position);
    // The unrounded slider position for the field's value.
    double (*position)(const Figure &figure);
    Motion motion = Motion::Straight;

    bool hasSlider() const { return range.has_value(); }
};

std::span<const PoseField> poseFields();
const PoseField &poseField(FieldId id);
// The fields that the control sync sets, in the order it sets them.
std::span<const PoseField *const> syncedFields();
// The fields of items 2 to 17 of a pose file, in file order.
std::span<const PoseField *const> fileFields();

// The slider position a field's value rounds to; empty when its slider
// cannot hold it.
std::optional<std::int16_t> sliderPositionOf(const PoseField &field, const Figure &figure);

// The fields in which two figures differ; a NaN equals a NaN.
FieldSet fieldsThatDiffer(const Figure &before, const Figure &after);
// Whether two figures have the same values, a NaN equal to a NaN, and the
// same pins and facing.
bool sameFigure(const Figure &a, const Figure &b);

// A field whose value no position of its slider can hold.
struct FieldOutOfRange {
    const PoseField *field;
    double value;
    double lowest; // the field's values at the two ends of its slider
    double highest;
};

// The first synced field, in sync order, that its slider cannot hold; empty
// when the control sync can take the whole pose.
std::optional<FieldOutOfRange> firstFieldOutOfRange(const Pose &pose);

// What bringing a pose file's pose into the sliders makes of the figure:
// every synced field whose slider has to move takes the value of its new
// position, rounded to the slider's grid; a field whose slider stays keeps
// the file's exact value. The hip, the scale and the rotation are the loaded
// pose's (a pose file read over the current pose keeps the current ones);
// the pen and the facing stay as they are, and no end is pinned. The loaded
// pose must fit every slider.
Figure syncedFigure(const Figure &current, const Pose &loaded);

} // namespace zelbrook
