// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_encoder.h"

#include "platform/colour_palette.h"
#include "platform/png_chunks.h"

#include <cstdint>

namespace zelbrook {

namespace {

// The picture's resolution, as Qt's own writer records it.
QByteArray physicalSize(const QImage &image)
{
    QByteArray data;
    PngChunks::appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterX()));
    PngChunks::appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterY()));
    data.append(char(1)); // metres
    return data;
}

} // namespace

QByteArray PngEncoder::encode(const QImage &source)
{
    if (source.isNull() || source.hasAlphaChannel())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    // The smallest form that holds the picture: grey levels, as the figure's
    // pictures have only those, then a palette, then three bytes a pixel.
    ColourPalette palette;
    std::uint8_t type = PngChunks::kGreyType;
    std::optional<QByteArrayView> idat = PngChunks::greyData(image, image.rect());
    if (!idat) {
        type = PngChunks::kPaletteType;
        idat = PngChunks::imageData(image, image.rect(), [&palette](QRgb rgb) { return palette.add(rgb); });
    }
    if (!idat) {
        type = PngChunks::kTruecolourType;
        idat = PngChunks::truecolourData(image, image.rect());
    }
    if (!idat)
        return {};

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(idat->size() + 3 * ColourPalette::kMaximumColours + 128);
    PngChunks::appendChunk(png, "IHDR", PngChunks::header(image.size(), type));
    if (type == PngChunks::kPaletteType)
        PngChunks::appendChunk(png, "PLTE", PngChunks::paletteEntries(palette.colours()));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        PngChunks::appendChunk(png, "pHYs", physicalSize(image));
    PngChunks::appendChunk(png, "IDAT", *idat);
    PngChunks::appendChunk(png, "IEND", {});
    return png;
}

} // namespace zelbrook
