// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose_field.h"

#include <cstdint>

namespace zelbrook {

// Where a field's slider stands before the load handler runs, and how far a
// page moves it. The control sync then moves most sliders to the pose.
struct SliderBinding {
    FieldId field;
    std::int16_t start;
    int pageStep;
};

const SliderBinding &sliderBinding(FieldId field);

} // namespace zelbrook
