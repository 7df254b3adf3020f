#pragma once

#include "pose.h"
#include "slider_position.h"

#include <optional>
#include <span>
#include <string_view>

namespace zelbrook {

// How one pose field meets its slider: the slider's range, what a slider
// position stores into the pose, and the position that the control sync
// derives from the pose. Both conversions sit side by side because each is
// the exact inverse of the other for every whole-numbered position.
struct PoseControl {
    std::string_view field;
    SliderRange range;
    // Stores the value of a slider position into the field.
    void (*store)(Pose &pose, std::int16_t position);
    // The field's value, widened to double.
    double (*value)(const Pose &pose);
    // The unrounded slider position for the field's value; null for the
    // fields that the control sync leaves alone (scale and rotation).
    double (*position)(const Pose &pose);
};

// The eighteen pose fields that sliders edit. The first sixteen are the ones
// the control sync sets, in the order it sets them.
std::span<const PoseControl> poseControls();
std::span<const PoseControl> syncedPoseControls();

const PoseControl *findPoseControl(std::string_view field);

// A field whose value no position of its slider can hold.
struct FieldOutOfRange {
    std::string_view field;
    double value;
    double lowest; // the field's values at the two ends of its slider
    double highest;
};

// The first synced field, in sync order, that its slider cannot hold; empty
// when the control sync can take the whole pose.
std::optional<FieldOutOfRange> firstFieldOutOfRange(const Pose &pose);

} // namespace zelbrook
