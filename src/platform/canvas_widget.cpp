#include "canvas_widget.h"

#include <QPainter>

namespace zelbrook {

namespace {
constexpr int kBorder = 2;
}

CanvasWidget::CanvasWidget(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(RasterCanvas::kPixelWidth + 2 * kBorder, RasterCanvas::kPixelHeight + 2 * kBorder);
}

void CanvasWidget::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_canvas.Image());
    if (hasFocus()) {
        // A dotted rectangle just inside the border shows where the keys go
        // without covering the figure's pixels for long.
        QPen pen(palette().color(QPalette::Highlight), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(contentsRect().adjusted(0, 0, -1, -1));
    }
}

void CanvasWidget::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    update();
    emit gotFocus();
}

void CanvasWidget::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    update();
}

} // namespace zelbrook
