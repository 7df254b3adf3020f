// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "platform/canvas_widget.h"
#include "platform/slider.h"
#include "render/joints.h"
#include "ui/form1.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"
#include "ui/workspace/stage.h"
#include "ui/workspace/window_faces.h"
#include "ui/workspace/workspace_window.h"

#include <QCheckBox>

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

// The left hand of the current figure held on a canvas of the window and
// moved to and fro, let go at the end: on the poser's canvas, or on the
// workspace's stage, whose picture lies where its zoom puts it.
class HandDrag
{
public:
    HandDrag(const Form1 &window, CanvasWidget *canvas)
        : HandDrag(window, canvas, canvas->contentsRect().topLeft(), 1.0)
    {}
    HandDrag(const Form1 &window, Stage *stage)
        : HandDrag(window, stage->viewport(), stage->pictureRect().topLeft(), stage->pictureRect().width() / 493)
    {}
    HandDrag(const Form1 &window, QWidget *canvas, QPointF origin, double zoom)
        : m_canvas(canvas)
        , m_origin(origin)
        , m_zoom(zoom)
    {
        const Joints joints = ComputeJoints(window.pose());
        m_hand = pixel(joints.lHand);
        m_elsewhere[0] = pixel({joints.lElbow.x + 30, joints.lElbow.y});
        m_elsewhere[1] = pixel({joints.lElbow.x, joints.lElbow.y + 30});
        send(QEvent::MouseButtonPress, m_hand, Qt::LeftButton, Qt::LeftButton);
    }
    ~HandDrag() { send(QEvent::MouseButtonRelease, m_hand, Qt::LeftButton, Qt::NoButton); }

    void move()
    {
        m_which = 1 - m_which;
        send(QEvent::MouseMove, m_elsewhere[m_which], Qt::NoButton, Qt::LeftButton);
    }

private:
    QPointF pixel(Point p) const { return m_origin + QPointF(p.x * 493 / 500, p.y * 397 / 400) * m_zoom; }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, at, m_canvas->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(m_canvas, &event);
    }

    QWidget *m_canvas;
    QPointF m_origin;
    double m_zoom;
    QPointF m_hand;
    QPointF m_elsewhere[2];
    int m_which = 0;
};

// One mouse move while the left hand is dragged: the joint's new field, the
// slider and its read-out following, and the redraw.
void BM_DragMove(benchmark::State &state)
{
    Form1 window;
    HandDrag drag(window, window.Picture1());
    for (auto _ : state)
        drag.move();
}
BENCHMARK(BM_DragMove);

// The same move in the workspace with the hand's path shown, in an
// animation of that many frames: frames / 1000 keys, ten at least, each held
// as long as it takes, so that the path has a dot a key. Only the keys about
// the current one have their dots worked out again, so a long animation
// costs little more than a short one; quoted against BM_DragMoveWithPath/10.
void BM_DragMoveWithPath(benchmark::State &state)
{
    Form1 window;
    const auto frames = static_cast<int>(state.range(0));
    const int keys = std::max(10, frames / 1000);
    std::vector<Key> row;
    for (int i = 0; i < keys; ++i) {
        Figure figure{window.pose()};
        figure.pose.hipX += static_cast<float>(4 * (i % 5));
        figure.pose.lArmAngle1 += 0.1 * (i % 3);
        row.push_back(Key{figure, frames / keys});
    }
    window.document().replaceAnimation(Animation(Playback{}, row));
    window.document().setCurrentKey(row.size() / 2);
    window.timeline().setShown(true);
    window.timeline().strip()->pathBox()->setChecked(true);
    const Pose start = window.pose();
    {
        HandDrag drag(window, window.faces().workspace()->findChild<Stage *>(QStringLiteral("stage")));
        for (auto _ : state)
            drag.move();
    }
    if (window.pose() == start)
        state.SkipWithError("the hand was not grabbed");
    state.counters["frames"] = static_cast<double>(window.document().animation().frameCount());
}
BENCHMARK(BM_DragMoveWithPath)->Arg(10)->Arg(100000);

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

// The poser made and shown, as the editor starts.
void BM_ShowPoser(benchmark::State &state)
{
    for (auto _ : state) {
        Form1 window;
        window.show();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ShowPoser);

} // namespace

} // namespace zelbrook
