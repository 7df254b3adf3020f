// SPDX-License-Identifier: GPL-3.0-or-later
#include "slider_binding.h"

#include <array>
#include <cassert>

namespace zelbrook {

namespace {

using F = FieldId;

// Indexed by FieldId; hipX and hipY have no slider. The body-angle slider's
// page step is 5, every other step is 1.
constexpr std::array<SliderBinding, kFieldCount> kBindings{{
    {F::HipX, 0, 0},         {F::HipY, 0, 0},       {F::BodyLength, 5, 1}, {F::BodyAngle, 0, 5},
    {F::LegLength1, 5, 1},   {F::LegLength2, 5, 1}, {F::LLegAngle1, 0, 1}, {F::LLegAngle2, 0, 1},
    {F::RLegAngle1, 360, 1}, {F::RLegAngle2, 0, 1}, {F::ArmLength1, 5, 1}, {F::ArmLength2, 5, 1},
    {F::LArmAngle1, 0, 1},   {F::LArmAngle2, 0, 1}, {F::RArmAngle1, 0, 1}, {F::HeadRadius, 10, 1},
    {F::RArmAngle2, 0, 1},   {F::HeadWidth, 70, 1}, {F::Rotation, 0, 1},   {F::Scale, 10, 1},
    {F::PenWidth, 2, 1},
}};

constexpr bool rowsFollowTheirIds()
{
    for (std::size_t i = 0; i < kBindings.size(); ++i) {
        if (static_cast<std::size_t>(kBindings[i].field) != i)
            return false;
    }
    return true;
}
static_assert(rowsFollowTheirIds(), "every binding stands at the index of its FieldId");

} // namespace

const SliderBinding &sliderBinding(FieldId field)
{
    assert(poseField(field).hasSlider());
    return kBindings[static_cast<std::size_t>(field)];
}

} // namespace zelbrook
