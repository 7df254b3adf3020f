// SPDX-License-Identifier: GPL-3.0-or-later
#include "stage.h"

#include "zoom_steps.h"

#include "ui/accessible_names.h"
#include "ui/canvas_posing.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

constexpr int kBorder = 2;
// One notch of a wheel, in eighths of a degree.
constexpr int kWheelNotch = 120;

// A position along one axis put on a whole device pixel.
qreal onDevicePixel(qreal at, qreal ratio) { return std::round(at * ratio) / ratio; }

// The whole logical pixels a length covers, a rounding error over counting
// for nothing.
int wholePixels(qreal length) { return static_cast<int>(std::ceil(length - 1e-6)); }

} // namespace

Stage::Stage(AnimationDocument &document, QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Dark);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    presentAsPicture(this);
    m_posing = new CanvasPosing(
        document,
        {viewport(), this, [this](const QPointF &at) { return picturePixels(at); }, [this] { return 1.0 / m_zoom; }},
        this);
    layOut();
}

// The posing goes first, so that a drag under way ends with the stage
// rather than putting its figure back as the viewport goes.
Stage::~Stage() { delete m_posing; }

void Stage::setDrawer(Drawer drawer)
{
    m_drawer = std::move(drawer);
    pictureChanged();
}

void Stage::pictureChanged()
{
    ++m_generation;
    viewport()->update();
}

qreal Stage::ratio() const { return viewport()->devicePixelRatioF(); }

QSizeF Stage::shownSize() const { return QSizeF(ScaledPicture::sizeAt(m_zoom * ratio())) / ratio(); }

// A picture smaller than the view stands in its middle; a larger one is
// scrolled.
QRectF Stage::pictureRect() const
{
    const QSizeF shown = shownSize();
    const QSize area = viewport()->size();
    const auto along = [this](qreal length, int room, int scrolled) {
        return onDevicePixel(wholePixels(length) <= room ? (room - length) / 2 : -scrolled, ratio());
    };
    return {QPointF(along(shown.width(), area.width(), horizontalScrollBar()->value()),
                    along(shown.height(), area.height(), verticalScrollBar()->value())),
            shown};
}

Point Stage::picturePixels(const QPointF &at) const
{
    const QRectF picture = pictureRect();
    return {(at.x() - picture.left()) * RasterCanvas::kPixelWidth / picture.width(),
            (at.y() - picture.top()) * RasterCanvas::kPixelHeight / picture.height()};
}

void Stage::layOut()
{
    if (m_fit) {
        const qreal fitted = fitZoom(maximumViewportSize(), ratio());
        if (fitted != m_zoom) {
            m_zoom = fitted;
            emit zoomChanged();
        }
    }
    const QSizeF shown = shownSize();
    const QSize area = viewport()->size();
    horizontalScrollBar()->setRange(0, std::max(0, wholePixels(shown.width()) - area.width()));
    verticalScrollBar()->setRange(0, std::max(0, wholePixels(shown.height()) - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    verticalScrollBar()->setPageStep(area.height());
    horizontalScrollBar()->setSingleStep(std::max(1, area.width() / 20));
    verticalScrollBar()->setSingleStep(std::max(1, area.height() / 20));
    viewport()->update();
}

// The picture's point under the anchor stays under it, unless the picture
// comes to stand in the middle of the view.
void Stage::zoomAbout(qreal zoom, QPointF anchor)
{
    if (zoom == m_zoom && !m_fit)
        return;
    const Point at = picturePixels(anchor);
    m_zoom = zoom;
    m_fit = false;
    layOut();
    const QSizeF shown = shownSize();
    horizontalScrollBar()->setValue(qRound(at.x * shown.width() / RasterCanvas::kPixelWidth - anchor.x()));
    verticalScrollBar()->setValue(qRound(at.y * shown.height() / RasterCanvas::kPixelHeight - anchor.y()));
    emit zoomChanged();
}

QPointF Stage::viewCentre() const { return viewport()->rect().center(); }

void Stage::fit()
{
    if (m_fit)
        return;
    m_fit = true;
    const qreal before = m_zoom;
    layOut();
    if (m_zoom == before)
        emit zoomChanged();
}

void Stage::actualSize() { zoomAbout(1.0, viewCentre()); }

void Stage::zoomIn() { zoomAbout(zoomStepAbove(m_zoom), viewCentre()); }

void Stage::zoomOut() { zoomAbout(zoomStepBelow(m_zoom), viewCentre()); }

void Stage::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), viewport()->palette().color(viewport()->backgroundRole()));
    const qreal scale = m_zoom * ratio();
    painter.drawImage(pictureRect(), m_picture.image(scale, m_generation, m_drawer));
}

// The focus shows on the border, so that the picture stays exactly the one
// that is exported.
bool Stage::event(QEvent *event)
{
    const bool handled = QAbstractScrollArea::event(event);
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        QPen pen(palette().color(QPalette::Highlight), kBorder);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.drawRect(QRectF(rect()).adjusted(kBorder / 2.0, kBorder / 2.0, -kBorder / 2.0, -kBorder / 2.0));
    }
    return handled;
}

void Stage::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    layOut();
}

void Stage::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    m_wheelTurn += event->angleDelta().y();
    for (; m_wheelTurn >= kWheelNotch; m_wheelTurn -= kWheelNotch)
        zoomAbout(zoomStepAbove(m_zoom), event->position());
    for (; m_wheelTurn <= -kWheelNotch; m_wheelTurn += kWheelNotch)
        zoomAbout(zoomStepBelow(m_zoom), event->position());
    event->accept();
}

void Stage::mousePressEvent(QMouseEvent *event)
{
    // A press on the picture stays with it: posing has seen it already.
    event->accept();
    if (event->button() != Qt::MiddleButton)
        return;
    m_panFrom = event->position();
    m_panScroll = {horizontalScrollBar()->value(), verticalScrollBar()->value()};
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void Stage::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (!m_panFrom || !(event->buttons() & Qt::MiddleButton))
        return;
    const QPointF moved = event->position() - *m_panFrom;
    horizontalScrollBar()->setValue(m_panScroll.x() - qRound(moved.x()));
    verticalScrollBar()->setValue(m_panScroll.y() - qRound(moved.y()));
    viewport()->setCursor(Qt::ClosedHandCursor);
}

void Stage::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::MiddleButton || !m_panFrom)
        return;
    m_panFrom.reset();
    viewport()->setCursor(Qt::ArrowCursor);
}

// A right-click arrives from the viewport, the Menu key from the stage
// itself; the menu for the key opens in the middle of the view.
void Stage::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse)
        emit contextMenuAt(event->globalPos(), m_posing->pickAt(event->pos()));
    else
        emit contextMenuAt(viewport()->mapToGlobal(viewCentre().toPoint()), std::nullopt);
    event->accept();
}

void Stage::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    update();
}

void Stage::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    update();
}

} // namespace zelbrook
