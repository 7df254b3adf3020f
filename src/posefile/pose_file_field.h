#pragma once

#include "model/pose.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

namespace zelbrook {

// One pose field as a pose file holds it. headRadius is kept as a 16-bit
// integer; every other field is a double.
struct PoseFileField {
    std::string_view name;
    std::variant<double Pose::*, std::int16_t Pose::*> member;

    double value(const Pose &pose) const;
};

// The fields of items 2 to 17, in file order; item 1 is the file type tag.
std::span<const PoseFileField> poseFileFields();

// The item number of a field in the file, 0 for a field the file does not hold.
int poseFileItemNumber(std::string_view field);

} // namespace zelbrook
