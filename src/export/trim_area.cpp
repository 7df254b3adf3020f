// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/trim_area.h"

#include "platform/raster_canvas.h"
#include "render/draw_scene.h"

#include <algorithm>

namespace zelbrook {

namespace {

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

bool emptyRow(const QImage &image, int y)
{
    const QRgb *pixels = row(image, y);
    return std::all_of(pixels, pixels + image.width(), [](QRgb p) { return qAlpha(p) == 0; });
}

Result<QRect> grown(QRect covered, int zoom)
{
    if (covered.isEmpty())
        return Error{"No figure shows in any frame, so there is nothing to trim to."};
    const QRect canvas(0, 0, RasterCanvas::kPixelWidth * zoom, RasterCanvas::kPixelHeight * zoom);
    return covered.adjusted(-TrimArea::kMargin, -TrimArea::kMargin, TrimArea::kMargin, TrimArea::kMargin) & canvas;
}

} // namespace

QRect TrimArea::coveredArea(const QImage &picture)
{
    int top = 0;
    int bottom = picture.height() - 1;
    while (top <= bottom && emptyRow(picture, top))
        ++top;
    if (top > bottom)
        return {};
    while (emptyRow(picture, bottom))
        --bottom;
    int left = picture.width();
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const QRgb *pixels = row(picture, y);
        for (int x = 0; x < left; ++x)
            if (qAlpha(pixels[x]) != 0)
                left = x;
        for (int x = picture.width() - 1; x > right; --x)
            if (qAlpha(pixels[x]) != 0)
                right = x;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

Result<QRect> TrimArea::ofScene(std::span<const SceneFigure> scene, int zoom)
{
    RasterCanvas canvas(zoom, RasterCanvas::Background::Transparent);
    drawSceneFigures(scene, canvas);
    return grown(coveredArea(canvas.Image()), canvas.zoom());
}

Result<QRect> TrimArea::ofAnimation(const Animation &animation, int zoom)
{
    RasterCanvas canvas(zoom, RasterCanvas::Background::Transparent);
    QRect covered;
    for (const FrameRef &frame : animation.frames()) {
        drawSceneFigures(animation.sceneAt(frame), canvas);
        covered |= coveredArea(canvas.Image());
    }
    return grown(covered, canvas.zoom());
}

} // namespace zelbrook
