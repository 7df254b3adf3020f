// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_posing.h"

#include "platform/canvas_widget.h"
#include "render/joint_picker.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zelbrook {

CanvasPosing::CanvasPosing(AnimationDocument &document, CanvasWidget *canvas)
    : QObject(canvas)
    , m_document(document)
    , m_canvas(canvas)
{
    canvas->setMouseTracking(true);
    canvas->installEventFilter(this);
}

// The canvas keeps its own handling of every event: a press still gives it
// the focus, and with it the redraw of a click.
bool CanvasPosing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_canvas)
        return false;
    if (isDragging() && losesTheDrag(*event)) {
        cancel();
        if (event->type() == QEvent::KeyPress)
            return true;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            press(static_cast<QMouseEvent *>(event)->position());
        break;
    case QEvent::MouseMove:
        move(static_cast<QMouseEvent *>(event)->position());
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            release();
        break;
    default:
        break;
    }
    return false;
}

// Escape, another button (the right one opens the menu), and anything that
// takes the mouse or the keyboard away from the canvas end a drag as if it
// had never begun. A move without the left button means its release went
// elsewhere.
bool CanvasPosing::losesTheDrag(const QEvent &event)
{
    switch (event.type()) {
    case QEvent::KeyPress:
        return static_cast<const QKeyEvent &>(event).key() == Qt::Key_Escape;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return static_cast<const QMouseEvent &>(event).button() != Qt::LeftButton;
    case QEvent::MouseMove:
        return !(static_cast<const QMouseEvent &>(event).buttons() & Qt::LeftButton);
    case QEvent::ContextMenu:
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
    case QEvent::Hide:
        return true;
    default:
        return false;
    }
}

Point CanvasPosing::picturePixels(const QPointF &at) const
{
    const QPointF inPicture = at - m_canvas->contentsRect().topLeft();
    return {inPicture.x(), inPicture.y()};
}

void CanvasPosing::press(const QPointF &at)
{
    const Point pixels = picturePixels(at);
    const std::optional<ScenePick> pick = pickAt(pixels);
    if (!pick)
        return;
    m_document.setCurrentFigure(pick->figure);
    if (!pick->joint)
        return;
    emit jointPressed(*pick->joint);
    m_document.endGesture();
    m_drag = startJointDrag(*pick->joint, m_document.figure(), pixelsToCanvasUnits(pixels));
    m_canvas->setCursor(Qt::ClosedHandCursor);
}

void CanvasPosing::move(const QPointF &at)
{
    if (!m_drag) {
        showCursor(at);
        return;
    }
    const Point mouse = pixelsToCanvasUnits(picturePixels(at));
    m_document.setFigure(draggedFigure(*m_drag, m_document.figure(), mouse), ChangeKind::Edit, this, this);
}

void CanvasPosing::release()
{
    if (!m_drag)
        return;
    m_drag.reset();
    m_document.endGesture();
    m_canvas->setCursor(Qt::OpenHandCursor);
}

// Going back to the figure of the press, under the same gesture, leaves no
// step behind.
void CanvasPosing::cancel()
{
    const Figure atPress = m_drag->atPress;
    m_drag.reset();
    m_document.setFigure(atPress, ChangeKind::Edit, this, this);
    m_document.endGesture();
    m_canvas->setCursor(Qt::ArrowCursor);
}

void CanvasPosing::showCursor(const QPointF &at)
{
    const std::optional<ScenePick> pick = pickAt(picturePixels(at));
    const bool overJoint = pick && pick->joint;
    m_canvas->setCursor(overJoint ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

// Every figure of the current key may be grabbed, the current one first.
std::optional<ScenePick> CanvasPosing::pickAt(Point pixels) const
{
    const std::vector<SceneFigure> scene = m_document.scene();
    return pickInScene(scene, m_document.currentFigure(), pixels);
}

} // namespace zelbrook
