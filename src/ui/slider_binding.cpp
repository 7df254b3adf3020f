#include "slider_binding.h"

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

using R = ReadOut;

// Start values are the positions before the load handler runs; the control
// sync then moves most of them to the pose. The body-angle slider's page
// step is 5, every other step is 1.
constexpr std::array<SliderBinding, 19> kBindings{{
    {"BodyangleScroll", "bodyangleDisplay", "bodyAngle", R::Position, R::Position, 0, 5},
    {"BodyLengthScroll", "bodylengthDisplay", "bodyLength", R::Position, R::Position, 5, 1},
    {"leglength1Scroll", "leglength1Display", "legLength1", R::Position, R::Position, 5, 1},
    {"leglength2Scroll", "leglength2Display", "legLength2", R::Position, R::Position, 5, 1},
    {"llegAngle1Scroll", "llegangle1Display", "lLegAngle1", R::Position, R::Position, 0, 1},
    {"llegAngle2Scroll", "llegangle2display", "lLegAngle2", R::Position, R::Position, 0, 1},
    {"rlegAngle1Scroll", "rlegangle1Display", "rLegAngle1", R::Position, R::Position, 360, 1},
    {"rlegAngle2Scroll", "rlegangle2Display", "rLegAngle2", R::Position, R::Position, 0, 1},
    {"headradScroll", "headradDisplay", "headRadius", R::Position, R::Position, 10, 1},
    {"HeadwidthScroll", "headwidthDisplay", "headWidth", R::StoredValue, R::StoredValue, 70, 1},
    {"armlength1Scroll", "armlength1Display", "armLength1", R::StoredValue, R::Position, 5, 1},
    {"armlength2Scroll", "armlength2Display", "armLength2", R::StoredValue, R::Position, 5, 1},
    {"larmAngle1Scroll", "larmAngle1Display", "lArmAngle1", R::Position, R::Position, 0, 1},
    {"larmAngle2Scroll", "larmAngle2Display", "lArmAngle2", R::Position, R::Position, 0, 1},
    {"rarmAngle1Scroll", "rarmAngle1Display", "rArmAngle1", R::Position, R::Position, 0, 1},
    {"rarmAngle2Scroll", "rarmAngle2Display", "rArmAngle2", R::Position, R::Position, 0, 1},
    {"ResizeScroll", "ResizeDisplay", "scale", R::StoredValue, R::StoredValue, 10, 1},
    {"RotateScroll", "RotateDisplay", "rotation", R::Position, R::Position, 0, 1},
    {"LineWidthScroll", "LinewidthDisplay", "", R::PenWidth, R::PenWidth, 2, 1},
}};

} // namespace

std::span<const SliderBinding> sliderBindings() { return kBindings; }

const SliderBinding *findSliderBinding(std::string_view slider)
{
    const auto it = std::ranges::find(kBindings, slider, &SliderBinding::slider);
    return it == kBindings.end() ? nullptr : &*it;
}

} // namespace zelbrook
