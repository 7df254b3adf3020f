#include "pose_file_field.h"

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

// The order groups the body, both leg lengths before the four leg angles,
// both arm lengths before the four arm angles, then the head. It is neither
// the order of the sliders nor that of the defaults.
const std::array<PoseFileField, 16> kFields{{
    {"bodyLength", &Pose::bodyLength},
    {"bodyAngle", &Pose::bodyAngle},
    {"legLength1", &Pose::legLength1},
    {"legLength2", &Pose::legLength2},
    {"lLegAngle1", &Pose::lLegAngle1},
    {"lLegAngle2", &Pose::lLegAngle2},
    {"rLegAngle1", &Pose::rLegAngle1},
    {"rLegAngle2", &Pose::rLegAngle2},
    {"armLength1", &Pose::armLength1},
    {"armLength2", &Pose::armLength2},
    {"lArmAngle1", &Pose::lArmAngle1},
    {"lArmAngle2", &Pose::lArmAngle2},
    {"rArmAngle1", &Pose::rArmAngle1},
    {"rArmAngle2", &Pose::rArmAngle2},
    {"headRadius", &Pose::headRadius},
    {"headWidth", &Pose::headWidth},
}};

} // namespace

double PoseFileField::value(const Pose &pose) const
{
    return std::visit([&pose](auto field) { return static_cast<double>(pose.*field); }, member);
}

std::span<const PoseFileField> poseFileFields() { return kFields; }

int poseFileItemNumber(std::string_view field)
{
    const auto it = std::ranges::find(kFields, field, &PoseFileField::name);
    return it == kFields.end() ? 0 : static_cast<int>(it - kFields.begin()) + 2;
}

} // namespace zelbrook
