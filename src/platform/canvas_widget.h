// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster_canvas.h"
#include "scaled_picture.h"

#include <QFrame>

#include <memory>

namespace zelbrook {

// The figure's canvas on the window: a sunken frame around the 493 x 397
// pixel drawing area. It always paints from the canvas's picture, so the
// figure never vanishes when the window is covered and uncovered.
//
// canvas() is the picture at 1x: what is drawn, copied and saved. On a
// screen with more device pixels than logical ones the widget shows the same
// drawing made again at the next whole zoom, scaled down smoothly when the
// ratio is fractional; at a ratio of 1 it shows canvas() itself.
class CanvasWidget : public QFrame
{
    Q_OBJECT

public:
    explicit CanvasWidget(QWidget *parent = nullptr);
    ~CanvasWidget() override;

    RasterCanvas &canvas();
    const RasterCanvas &canvas() const;

    // The picture as the screen shows it, in device pixels (at the largest
    // zoom past it).
    const QImage &screenImage();
    // The device pixel ratio the picture is drawn for: the screen's, or the
    // one a test has set in its place (0 gives the screen's back).
    qreal drawingRatio() const;
    void setDevicePixelRatioOverride(qreal ratio);
    // The whole zoom a picture for this ratio is drawn at.
    static int zoomForRatio(qreal ratio);

signals:
    // The canvas has received the keyboard focus.
    void gotFocus();

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    class RecordedCanvas;

    void paintFocusFrame(QPainter &painter) const;

    std::unique_ptr<RecordedCanvas> m_canvas;
    qreal m_ratioOverride = 0.0;
    // The drawing made again for the screen's ratio.
    ScaledPicture m_scaled;
    QImage m_enlarged; // in its place while the drawing was not recorded
};

} // namespace zelbrook
