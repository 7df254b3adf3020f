#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zelbrook {

// What a read-out box shows: the slider's position as integer text, the
// value just stored in the pose in general number form (0.7, 1.5, 1), or
// the canvas pen width read back from the canvas.
enum class ReadOut { Position, StoredValue, PenWidth };

// One slider of the window and what it edits. A slider with no field sets
// the canvas pen width instead of a pose field.
struct SliderBinding {
    std::string_view slider;
    std::string_view display;
    std::string_view field;
    ReadOut onMove; // what the slider's own notifications write
    ReadOut onSync; // what the control sync writes
    std::int16_t start;
    int pageStep;
};

std::span<const SliderBinding> sliderBindings();
const SliderBinding *findSliderBinding(std::string_view slider);

} // namespace zelbrook
