// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/exporter.h"

#include "export/json_writer.h"
#include "platform/atomic_file.h"
#include "platform/picture_writer.h"
#include "posefile/pose_writer.h"
#include "render/draw_figure.h"

#include <QFontMetrics>

#include <algorithm>
#include <string>

namespace zelbrook {

namespace {

QByteArray bytesOf(const std::string &text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

QByteArray svgDocument(const Figure &figure, std::string_view caption)
{
    SvgCanvas canvas(Exporter::svgPage());
    canvas.setDrawWidth(figure.penWidth);
    drawFigure(figure.pose, canvas, caption);
    return bytesOf(canvas.document());
}

} // namespace

Result<QByteArray> Exporter::encode(const Figure &figure, std::string_view caption, ExportFormat format, int zoom)
{
    switch (format) {
    case ExportFormat::Bmp:
        return rasterPicture(draw(figure, caption, zoom), "bmp");
    case ExportFormat::Png:
        return rasterPicture(draw(figure, caption, zoom), "png");
    case ExportFormat::Svg:
        return svgDocument(figure, caption);
    case ExportFormat::Json:
        return bytesOf(JsonWriter::figure(figure.pose, figure.penWidth));
    case ExportFormat::Zbk:
        return bytesOf(writePoseFile(figure.pose));
    }
    return Error{"The format is not one of bmp, png, svg, json and zbk."};
}

Result<QByteArray> Exporter::encodeFitted(const Figure &figure, std::string_view caption, ExportFormat format, int size)
{
    if (format != ExportFormat::Bmp && format != ExportFormat::Png)
        return Error{"Only a bitmap or PNG picture can be scaled to fit."};
    return rasterPicture(fittedPicture(figure, caption, size), format == ExportFormat::Bmp ? "bmp" : "png");
}

Status Exporter::write(const Figure &figure, std::string_view caption, ExportFormat format, int zoom,
                       const QString &path)
{
    const Result<QByteArray> bytes = encode(figure, caption, format, zoom);
    if (!bytes)
        return bytes.error();
    return AtomicFile::write(path, *bytes);
}

QImage Exporter::picture(const Figure &figure, std::string_view caption, int zoom)
{
    return draw(figure, caption, zoom);
}

QImage Exporter::fittedPicture(const Figure &figure, std::string_view caption, int size)
{
    const int fitted = std::clamp(size, kMinimumFittedSize, kMaximumFittedSize);
    const QSize target = fittedSize(fitted);
    const QImage &drawn = draw(figure, caption, fittingZoom(fitted));
    if (drawn.size() == target)
        return drawn;
    return drawn.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QSize Exporter::fittedSize(int size)
{
    const int height =
        (2 * size * RasterCanvas::kPixelHeight + RasterCanvas::kPixelWidth) / (2 * RasterCanvas::kPixelWidth);
    return {size, height};
}

int Exporter::fittingZoom(int size) { return (size + RasterCanvas::kPixelWidth - 1) / RasterCanvas::kPixelWidth; }

// The canvas is made again only for another zoom; DrawMan clears it first.
const QImage &Exporter::draw(const Figure &figure, std::string_view caption, int zoom)
{
    const int pictureZoom = std::clamp(zoom, 1, RasterCanvas::kMaximumZoom);
    if (!m_canvas || m_canvas->zoom() != pictureZoom)
        m_canvas.emplace(pictureZoom);
    m_canvas->setDrawWidth(figure.penWidth);
    drawFigure(figure.pose, *m_canvas, caption);
    return m_canvas->Image();
}

Result<QByteArray> Exporter::rasterPicture(const QImage &picture, const char *format)
{
    QByteArray bytes = PictureWriter::encode(picture, format);
    if (bytes.isEmpty())
        return Error{"The picture could not be converted to " + QByteArray(format).toUpper().toStdString() + "."};
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
