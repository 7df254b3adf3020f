// SPDX-License-Identifier: GPL-3.0-or-later
#include "scaled_picture.h"

#include <algorithm>
#include <cmath>

namespace zelbrook {

int ScaledPicture::zoomFor(qreal scale)
{
    // A scale a rounding error above a whole number is that number.
    const int zoom = static_cast<int>(std::ceil(scale - 1e-6));
    return std::clamp(zoom, 1, RasterCanvas::kMaximumZoom);
}

QSize ScaledPicture::sizeAt(qreal scale)
{
    return {qRound(RasterCanvas::kPixelWidth * scale), qRound(RasterCanvas::kPixelHeight * scale)};
}

const QImage &ScaledPicture::image(qreal scale, quint64 generation, const Drawer &drawer)
{
    const int zoom = zoomFor(scale);
    const QImage &whole = drawn(zoom, generation, drawer);
    if (scale >= zoom || whole.size() == sizeAt(scale))
        return whole;
    if (m_reducedScale != scale || m_reducedGeneration != generation) {
        m_reduced = whole.scaled(sizeAt(scale), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_reducedScale = scale;
        m_reducedGeneration = generation;
    }
    return m_reduced;
}

const QImage &ScaledPicture::drawn(int zoom, quint64 generation, const Drawer &drawer)
{
    if (!m_zoomed || m_zoomed->zoom() != zoom) {
        m_zoomed.emplace(zoom);
        m_zoomedGeneration.reset();
    }
    if (m_zoomedGeneration != generation) {
        if (drawer)
            drawer(*m_zoomed);
        else
            m_zoomed->Cls();
        m_zoomedGeneration = generation;
    }
    return m_zoomed->Image();
}

} // namespace zelbrook
