#include "model/pose_field.h"
#include "platform/slider.h"
#include "ui/form1.h"

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

// One slider moved to a new position: its binding stores the value, writes
// the read-out box and redraws the figure into the canvas picture.
void BM_SliderChange(benchmark::State &state)
{
    Form1 window;
    Slider *slider = window.slider("larmAngle1Scroll");
    std::int16_t position = 120;
    for (auto _ : state) {
        position = position == 120 ? 121 : 120;
        benchmark::DoNotOptimize(slider->setValue(position));
    }
}
BENCHMARK(BM_SliderChange);

// A pose that puts every length and limb angle slider somewhere else.
Pose shifted(const Pose &pose, int step)
{
    Figure moved{pose};
    for (const PoseField *field : syncedFields()) {
        if (field->id == FieldId::HeadRadius || field->id == FieldId::HeadWidth)
            continue;
        field->store(moved, static_cast<std::int16_t>(std::lround(field->position(moved)) + step));
    }
    return moved.pose;
}

// An open that moves the fourteen length and angle sliders and redraws once.
void BM_SyncMovesAll(benchmark::State &state)
{
    Form1 window;
    const Pose poses[] = {shifted(window.pose(), 1), shifted(window.pose(), -1)};
    int which = 0;
    for (auto _ : state) {
        window.takeLoadedPose(poses[which]);
        which = 1 - which;
    }
}
BENCHMARK(BM_SyncMovesAll);

} // namespace
} // namespace zelbrook
