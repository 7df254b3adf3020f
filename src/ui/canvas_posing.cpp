// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_posing.h"

#include "platform/canvas_widget.h"
#include "render/joint_picker.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zelbrook {

CanvasPosing::CanvasPosing(AnimationDocument &document, PosingSurface surface, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_surface(std::move(surface))
{
    m_surface.mouseArea->setMouseTracking(true);
    m_surface.mouseArea->installEventFilter(this);
    if (m_surface.focusArea != m_surface.mouseArea)
        m_surface.focusArea->installEventFilter(this);
}

CanvasPosing::CanvasPosing(AnimationDocument &document, CanvasWidget *canvas)
    : CanvasPosing(document,
                   {canvas, canvas,
                    [canvas](const QPointF &at) {
                        const QPointF inPicture = at - canvas->contentsRect().topLeft();
                        return Point{inPicture.x(), inPicture.y()};
                    },
                    [] { return 1.0; }},
                   canvas)
{}

// The canvas keeps its own handling of every event: a press still gives it
// the focus, and with it the redraw of a click.
bool CanvasPosing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface.mouseArea && watched != m_surface.focusArea)
        return false;
    if (isDragging() && losesTheDrag(*event)) {
        cancel();
        if (event->type() == QEvent::KeyPress)
            return true;
    }
    if (watched != m_surface.mouseArea)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (const auto *mouse = static_cast<QMouseEvent *>(event); mouse->button() == Qt::LeftButton)
            press(mouse->position(), mouse->modifiers());
        break;
    case QEvent::MouseMove:
        m_pointer = static_cast<QMouseEvent *>(event)->position();
        move(*m_pointer);
        break;
    case QEvent::Leave:
        m_pointer.reset();
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

void CanvasPosing::press(const QPointF &at, Qt::KeyboardModifiers modifiers)
{
    const Point pixels = m_surface.picturePixels(at);
    const std::optional<ScenePick> pick = pickAt(at);
    if (!pick)
        return;
    m_document.setCurrentFigure(pick->figure);
    if (!pick->joint)
        return;
    emit jointPressed(*pick->joint);
    m_document.endGesture();
    m_drag = startJointDrag(*pick->joint, m_document.figure(), pixelsToCanvasUnits(pixels));
    const bool reaches = m_reachAlways || modifiers.testFlag(Qt::ShiftModifier);
    m_reach = reaches ? limbEndingAt(*pick->joint) : std::nullopt;
    m_surface.mouseArea->setCursor(Qt::ClosedHandCursor);
}

void CanvasPosing::move(const QPointF &at)
{
    if (!m_drag) {
        showCursor(at);
        return;
    }
    const Point mouse = pixelsToCanvasUnits(m_surface.picturePixels(at));
    if (m_reach)
        (void)m_document.reachTo(*m_reach, mouse, this, this);
    else
        m_document.setFigure(draggedFigure(*m_drag, m_document.figure(), mouse), ChangeKind::Edit, this, this);
}

void CanvasPosing::release()
{
    if (!m_drag)
        return;
    m_drag.reset();
    m_document.endGesture();
    m_surface.mouseArea->setCursor(Qt::OpenHandCursor);
}

// Going back to the figure of the press, under the same gesture, leaves no
// step behind.
void CanvasPosing::cancel()
{
    const Figure atPress = m_drag->atPress;
    m_drag.reset();
    m_document.setFigure(atPress, ChangeKind::Edit, this, this);
    m_document.endGesture();
    m_surface.mouseArea->setCursor(Qt::ArrowCursor);
}

void CanvasPosing::showCursor(const QPointF &at)
{
    const std::optional<ScenePick> pick = pickAt(at);
    const bool overJoint = pick && pick->joint;
    m_surface.mouseArea->setCursor(overJoint ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

std::optional<ScenePick> CanvasPosing::pickUnderPointer() const
{
    return m_pointer ? pickAt(*m_pointer) : std::nullopt;
}

// Every figure of the current key may be grabbed, the current one first.
std::optional<ScenePick> CanvasPosing::pickAt(const QPointF &at) const
{
    const std::vector<SceneFigure> scene = m_document.scene();
    return pickInScene(scene, m_document.currentFigure(), m_surface.picturePixels(at), m_surface.grabScale());
}

} // namespace zelbrook
