// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/frame_style.h"
#include "model/cast.h"
#include "model/figure.h"
#include "model/result.h"
#include "platform/picture_writer.h"
#include "platform/raster_canvas.h"
#include "render/svg_canvas.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>
#include <span>
#include <string_view>

namespace zelbrook {

enum class ExportFormat { Bmp, Png, Svg, Json, Zbk };

// Turns a scene, or one figure, into the content of a file: a bitmap or PNG
// picture drawn as the editor's canvas draws it, an SVG document of the same
// drawing with a group for each figure, the figures' data as JSON, or the
// pose file of a scene's one figure. A figure on its own is a scene of one
// black figure. The credit line names the caption given. A zoom makes a bitmap or PNG picture that many times larger (1
// to RasterCanvas::kMaximumZoom, a zoom outside taken as the nearest); the other formats do not depend on it.
//
// An exporter keeps one canvas and one picture writer, and draws and packs
// every picture with them, so exporting many figures costs no new memory; it
// is for one thread at a time.
class Exporter
{
public:
    static constexpr int kMinimumFittedSize = 16;
    static constexpr int kMaximumFittedSize = RasterCanvas::kPixelWidth * RasterCanvas::kMaximumZoom;

    // The style applies to bmp, png and svg; a bmp has no transparency.
    Result<QByteArray> encode(std::span<const SceneFigure> scene, std::string_view caption, ExportFormat format,
                              int zoom = 1, const FrameStyle &style = {});
    Result<QByteArray> encode(const Figure &figure, std::string_view caption, ExportFormat format, int zoom = 1);
    // A bitmap or PNG picture that fits within size x size pixels with the
    // canvas's proportions (see fittedPicture).
    Result<QByteArray> encodeFitted(std::span<const SceneFigure> scene, std::string_view caption, ExportFormat format,
                                    int size);
    Result<QByteArray> encodeFitted(const Figure &figure, std::string_view caption, ExportFormat format, int size);

    // Encodes the scene and writes it so that a failure leaves an existing
    // file as it was. The error does not name the file.
    Status write(std::span<const SceneFigure> scene, std::string_view caption, ExportFormat format, int zoom,
                 const QString &path);
    Status write(const Figure &figure, std::string_view caption, ExportFormat format, int zoom, const QString &path);

    // The raster picture that the bitmap and PNG exports encode: RGB32 on
    // white, straight ARGB32 on a transparent background.
    QImage picture(std::span<const SceneFigure> scene, std::string_view caption, int zoom = 1,
                   const FrameStyle &style = {});
    QImage picture(const Figure &figure, std::string_view caption, int zoom = 1);

    // The picture drawn at the smallest zoom at which it is at least
    // fittedSize(size), then scaled down smoothly to that size, so that it is
    // never drawn small and blown up. The size is taken from
    // kMinimumFittedSize to kMaximumFittedSize.
    QImage fittedPicture(std::span<const SceneFigure> scene, std::string_view caption, int size);
    QImage fittedPicture(const Figure &figure, std::string_view caption, int size);
    // The canvas's proportions within size x size pixels: the whole width
    // and the height rounded to the nearest pixel.
    static QSize fittedSize(int size);
    // The smallest zoom at which the picture covers fittedSize(size).
    static int fittingZoom(int size);

    // The SVG page that stands in for the editor's canvas.
    static SvgPage svgPage();
    // The scene of the one figure, black.
    static SceneFigure alone(const Figure &figure);

private:
    const QImage &draw(std::span<const SceneFigure> scene, std::string_view caption, int zoom,
                       const FrameStyle &style = {});
    Result<QByteArray> rasterPicture(const QImage &picture, const char *format);

    std::optional<RasterCanvas> m_canvas;
    PictureWriter m_pictureWriter;
};

} // namespace zelbrook
