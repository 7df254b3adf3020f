// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"

#include "export/json_writer.h"
#include "platform/atomic_file.h"
#include "platform/picture_writer.h"
#include "posefile/pose_writer.h"
#include "render/draw_scene.h"

#include <QFontMetrics>

#include <algorithm>
#include <string>

namespace zelbrook {

namespace {

QByteArray bytesOf(const std::string &text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

QByteArray svgDocument(std::span<const SceneFigure> scene, std::string_view caption, const FrameStyle &style)
{
    SvgPage page = Exporter::svgPage();
    page.background = !style.transparent();
    if (style.trim) {
        const double x = SvgCanvas::kUnitWidth / RasterCanvas::kPixelWidth;
        const double y = SvgCanvas::kUnitHeight / RasterCanvas::kPixelHeight;
        const QRect &area = *style.trim;
        page.area = SvgPage::Area{area.x() * x, area.y() * y, area.width() * x, area.height() * y};
    }
    SvgCanvas canvas(std::move(page));
    if (style.trim)
        drawSceneFigures(scene, canvas);
    else
        drawScene(scene, {}, canvas, caption);
    return bytesOf(canvas.document());
}

Result<QByteArray> poseFile(std::span<const SceneFigure> scene)
{
    if (scene.size() != 1)
        return Error{"A pose file holds one figure; the scene has " + std::to_string(scene.size()) + "."};
    return bytesOf(writePoseFile(scene.front().figure.pose));
}

} // namespace

SceneFigure Exporter::alone(const Figure &figure)
{
    return {kFirstFigureId, defaultFigureName(kFirstFigureId), kBlack, figure};
}

Result<QByteArray> Exporter::encode(std::span<const SceneFigure> scene, std::string_view caption, ExportFormat format,
                                    int zoom, const FrameStyle &style)
{
    switch (format) {
    case ExportFormat::Bmp:
        return rasterPicture(picture(scene, caption, zoom, {RasterCanvas::Background::White, style.trim}), "bmp");
    case ExportFormat::Png:
        return rasterPicture(picture(scene, caption, zoom, style), "png");
    case ExportFormat::Svg:
        return svgDocument(scene, caption, style);
    case ExportFormat::Json:
        return bytesOf(scene.size() == 1 ? JsonWriter::figure(scene.front().figure) : JsonWriter::scene(scene));
    case ExportFormat::Zbk:
        return poseFile(scene);
    }
    return Error{"The format is not one of bmp, png, svg, json and zbk."};
}

Result<QByteArray> Exporter::encode(const Figure &figure, std::string_view caption, ExportFormat format, int zoom)
{
    const SceneFigure one = alone(figure);
    return encode(std::span(&one, 1), caption, format, zoom);
}

Result<QByteArray> Exporter::encodeFitted(std::span<const SceneFigure> scene, std::string_view caption,
                                          ExportFormat format, int size)
{
    if (format != ExportFormat::Bmp && format != ExportFormat::Png)
        return Error{"Only a bitmap or PNG picture can be scaled to fit."};
    return rasterPicture(fittedPicture(scene, caption, size), format == ExportFormat::Bmp ? "bmp" : "png");
}

Result<QByteArray> Exporter::encodeFitted(const Figure &figure, std::string_view caption, ExportFormat format, int size)
{
    const SceneFigure one = alone(figure);
    return encodeFitted(std::span(&one, 1), caption, format, size);
}

Status Exporter::write(std::span<const SceneFigure> scene, std::string_view caption, ExportFormat format, int zoom,
                       const QString &path)
{
    const Result<QByteArray> bytes = encode(scene, caption, format, zoom);
    if (!bytes)
        return bytes.error();
    return AtomicFile::write(path, *bytes);
}

Status Exporter::write(const Figure &figure, std::string_view caption, ExportFormat format, int zoom,
                       const QString &path)
{
    const SceneFigure one = alone(figure);
    return write(std::span(&one, 1), caption, format, zoom, path);
}

QImage Exporter::picture(std::span<const SceneFigure> scene, std::string_view caption, int zoom,
                         const FrameStyle &style)
{
    const QImage &drawn = draw(scene, caption, zoom, style);
    const QImage whole = style.transparent() ? drawn.convertToFormat(QImage::Format_ARGB32) : drawn;
    return style.trim ? whole.copy(*style.trim) : whole;
}

QImage Exporter::picture(const Figure &figure, std::string_view caption, int zoom)
{
    const SceneFigure one = alone(figure);
    return draw(std::span(&one, 1), caption, zoom);
}

QImage Exporter::fittedPicture(std::span<const SceneFigure> scene, std::string_view caption, int size)
{
    const int fitted = std::clamp(size, kMinimumFittedSize, kMaximumFittedSize);
    const QSize target = fittedSize(fitted);
    const QImage &drawn = draw(scene, caption, fittingZoom(fitted));
    if (drawn.size() == target)
        return drawn;
    return drawn.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Exporter::fittedPicture(const Figure &figure, std::string_view caption, int size)
{
    const SceneFigure one = alone(figure);
    return fittedPicture(std::span(&one, 1), caption, size);
}

QSize Exporter::fittedSize(int size)
{
    const int height =
        (2 * size * RasterCanvas::kPixelHeight + RasterCanvas::kPixelWidth) / (2 * RasterCanvas::kPixelWidth);
    return {size, height};
}

int Exporter::fittingZoom(int size) { return (size + RasterCanvas::kPixelWidth - 1) / RasterCanvas::kPixelWidth; }

// The canvas is made again only for another zoom or background; the scene
// clears it first.
const QImage &Exporter::draw(std::span<const SceneFigure> scene, std::string_view caption, int zoom,
                             const FrameStyle &style)
{
    const int pictureZoom = std::clamp(zoom, 1, RasterCanvas::kMaximumZoom);
    if (!m_canvas || m_canvas->zoom() != pictureZoom || m_canvas->background() != style.background)
        m_canvas.emplace(pictureZoom, style.background);
    if (style.trim)
        drawSceneFigures(scene, *m_canvas);
    else
        drawScene(scene, {}, *m_canvas, caption);
    return m_canvas->Image();
}

Result<QByteArray> Exporter::rasterPicture(const QImage &picture, const char *format)
{
    QByteArray bytes = m_pictureWriter.encode(picture, format);
    // Qt gives a null picture, and the encoders no bytes, when memory runs
    // out; a picture that was drawn is otherwise always encoded.
    if (bytes.isEmpty())
        return Error{"There is not enough memory to convert the picture to "
                     + QByteArray(format).toUpper().toStdString() + "."};
    return bytes;
}

SvgPage Exporter::svgPage()
{
    const QFont font = RasterCanvas::textFont();
    return {RasterCanvas::kPixelWidth,
            RasterCanvas::kPixelHeight,
            RasterCanvas::kWindowUnitWidth,
            RasterCanvas::kWindowUnitHeight,
            font.family().toStdString(),
            static_cast<double>(font.pixelSize()),
            static_cast<double>(QFontMetrics(font).ascent())};
}

} // namespace zelbrook
