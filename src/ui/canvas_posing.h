// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "model/joint_drag.h"
#include "render/scene_picker.h"

#include <QObject>

#include <optional>

class QMouseEvent;
class QPointF;

namespace zelbrook {

class CanvasWidget;

// Posing by hand on the canvas: a press near a joint grabs it, moving the
// mouse turns the grabbed segment about the joint it starts from (or moves
// the whole figure by the hip), release ends the drag, and Escape, a menu or
// another window taking the mouse puts everything back as it was before the
// press. The whole drag is one step of
// the history. Nothing is drawn for it; the cursor alone shows what can be
// grabbed.
class CanvasPosing : public QObject
{
    Q_OBJECT

public:
    CanvasPosing(AnimationDocument &document, CanvasWidget *canvas);

    bool isDragging() const { return m_drag.has_value(); }

signals:
    // A press grabbed this joint of the figure it made current.
    void jointPressed(Joint joint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool losesTheDrag(const QEvent &event);
    void press(const QPointF &at);
    void move(const QPointF &at);
    void release();
    void cancel();
    void showCursor(const QPointF &at);
    std::optional<ScenePick> pickAt(Point pixels) const;
    // Where a widget position lies in the picture, in pixels and in canvas
    // units.
    Point picturePixels(const QPointF &at) const;

    AnimationDocument &m_document;
    CanvasWidget *m_canvas;
    std::optional<JointDrag> m_drag;
};

} // namespace zelbrook
