// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/raster_canvas.h"

#include <QRect>

#include <optional>

namespace zelbrook {

// How an exported picture looks beyond its scene: on white or on a
// transparent background, and the whole canvas or one rectangle of it. A
// cut picture shows the figures alone, without the credit line.
struct FrameStyle {
    RasterCanvas::Background background = RasterCanvas::Background::White;
    // In pixels of the picture at its zoom (at zoom 1 for SVG).
    std::optional<QRect> trim;

    bool transparent() const { return background == RasterCanvas::Background::Transparent; }
};

} // namespace zelbrook
