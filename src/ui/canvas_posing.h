// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "model/joint_drag.h"
#include "render/scene_picker.h"

#include <QObject>
#include <QPointF>

#include <functional>
#include <optional>

class QMouseEvent;
class QWidget;

namespace zelbrook {

class CanvasWidget;

// Where posing happens: the widget the mouse presses, which also shows the
// cursor, the one that holds the keyboard focus (the same one, or the
// widget around it), where a position of the mouse lies in the picture, in
// the picture's pixels, and how many of those one pixel of the screen spans.
struct PosingSurface {
    QWidget *mouseArea;
    QWidget *focusArea;
    std::function<Point(const QPointF &)> picturePixels;
    std::function<double()> grabScale;
};

// Posing by hand on the canvas: a press near a joint grabs it, moving the
// mouse turns the grabbed segment about the joint it starts from (or moves
// the whole figure by the hip), release ends the drag, and Escape, a menu or
// another window taking the mouse puts everything back as it was before the
// press. The whole drag is one step of the history. A hand or a foot
// dragged with Shift, or with Reach on, reaches: the end goes to the mouse
// and its limb bends to let it. Nothing is drawn for a drag; the cursor
// alone shows what can be grabbed.
class CanvasPosing : public QObject
{
    Q_OBJECT

public:
    CanvasPosing(AnimationDocument &document, PosingSurface surface, QObject *parent);
    // Posing on the canvas at its own size.
    CanvasPosing(AnimationDocument &document, CanvasWidget *canvas);

    bool isDragging() const { return m_drag.has_value(); }
    // What a press at this position of the mouse area finds.
    std::optional<ScenePick> pickAt(const QPointF &at) const;
    // What a press where the mouse rests would find.
    std::optional<ScenePick> pickUnderPointer() const;
    QWidget *mouseArea() const { return m_surface.mouseArea; }
    QWidget *focusArea() const { return m_surface.focusArea; }
    // Every drag of a hand or a foot reaches, Shift or not.
    void setReachAlways(bool always) { m_reachAlways = always; }

signals:
    // A press grabbed this joint of the figure it made current.
    void jointPressed(Joint joint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool losesTheDrag(const QEvent &event);
    void press(const QPointF &at, Qt::KeyboardModifiers modifiers);
    void move(const QPointF &at);
    void release();
    void cancel();
    void showCursor(const QPointF &at);

    AnimationDocument &m_document;
    PosingSurface m_surface;
    std::optional<JointDrag> m_drag;
    // The end the drag reaches with, when it reaches.
    std::optional<Limb> m_reach;
    bool m_reachAlways = false;
    std::optional<QPointF> m_pointer;
};

} // namespace zelbrook
