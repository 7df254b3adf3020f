// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "raster_canvas.h"

#include <QImage>
#include <QSize>

#include <functional>
#include <optional>

namespace zelbrook {

// The canvas's picture at any scale of its 493 x 397 pixels, in device
// pixels. It is drawn again at the whole zoom at or above the scale, so that
// lines and text stay sharp, and reduced smoothly to the scale's own pixels
// when the scale is fractional. Past the largest zoom it is the drawing at
// that zoom, which the painter enlarges to sizeAt(scale) pixel by pixel.
// Each picture is kept until the scale or the drawing's generation changes,
// so that showing it again draws nothing.
class ScaledPicture
{
public:
    using Drawer = std::function<void(Canvas &canvas)>;

    // The whole zoom a picture for this scale is drawn at.
    static int zoomFor(qreal scale);
    // The picture's size on the screen at this scale, in device pixels.
    static QSize sizeAt(qreal scale);

    // The drawer draws the whole drawing of this generation, from its clear
    // on; a null drawer leaves the picture blank.
    const QImage &image(qreal scale, quint64 generation, const Drawer &drawer);

private:
    const QImage &drawn(int zoom, quint64 generation, const Drawer &drawer);

    std::optional<RasterCanvas> m_zoomed;
    std::optional<quint64> m_zoomedGeneration;
    QImage m_reduced;
    qreal m_reducedScale = 0.0;
    std::optional<quint64> m_reducedGeneration;
};

} // namespace zelbrook
