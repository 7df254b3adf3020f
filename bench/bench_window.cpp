// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "platform/canvas_widget.h"
#include "platform/slider.h"
#include "render/joints.h"
#include "ui/form1.h"

#include <QApplication>
#include <QMouseEvent>

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

// One mouse move while the left hand is dragged: the joint's new field, the
// slider and its read-out following, and the redraw.
void BM_DragMove(benchmark::State &state)
{
    Form1 window;
    CanvasWidget *canvas = window.Picture1();
    const Joints joints = ComputeJoints(window.pose());
    const QPointF origin = canvas->contentsRect().topLeft();
    const auto pixel = [&origin](Point p) { return origin + QPointF(p.x * 493 / 500, p.y * 397 / 400); };
    const QPointF hand = pixel(joints.lHand);
    const QPointF elsewhere[] = {pixel({joints.lElbow.x + 30, joints.lElbow.y}),
                                 pixel({joints.lElbow.x, joints.lElbow.y + 30})};
    QMouseEvent press(QEvent::MouseButtonPress, hand, canvas->mapToGlobal(hand), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(canvas, &press);
    int which = 0;
    for (auto _ : state) {
        const QPointF at = elsewhere[which];
        which = 1 - which;
        QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
    }
}
BENCHMARK(BM_DragMove);

// Undoing a paste that moved every synced slider, then redoing it: each
// puts back a whole figure, moves sixteen sliders and redraws once.
void BM_Undo(benchmark::State &state)
{
    Form1 window;
    Pose pasted = shifted(window.pose(), 3);
    pasted.headRadius = 40;
    pasted.headWidth = 1.1;
    window.takeLoadedPose(pasted);
    bool undo = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(undo ? window.document().undo() : window.document().redo());
        undo = !undo;
    }
}
BENCHMARK(BM_Undo);

} // namespace
} // namespace zelbrook
