#pragma once

#include "raster_canvas.h"

#include <QFrame>

namespace zelbrook {

// The figure's canvas on the window: a sunken frame around the 493 x 397
// pixel drawing area. It always paints from the canvas's picture, so the
// figure never vanishes when the window is covered and uncovered.
class CanvasWidget : public QFrame
{
    Q_OBJECT

public:
    explicit CanvasWidget(QWidget *parent = nullptr);

    RasterCanvas &canvas() { return m_canvas; }
    const RasterCanvas &canvas() const { return m_canvas; }

signals:
    // The canvas has received the keyboard focus.
    void gotFocus();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    RasterCanvas m_canvas;
};

} // namespace zelbrook
