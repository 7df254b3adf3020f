// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zelbrook {

// The pieces PNG files are made of, shared by the still and the animated
// writers: big-endian numbers, checksummed chunks, the header, and the
// compressed pixel rows of a picture or of a rectangle of it.
class PngChunks
{
public:
    static constexpr std::uint8_t kGreyType = 0;
    static constexpr std::uint8_t kTruecolourType = 2;
    static constexpr std::uint8_t kPaletteType = 3;

    // The byte a colour (alpha masked off) is stored as, or a negative value
    // for a colour the image type cannot hold.
    using ByteOf = std::function<int(QRgb)>;

    static void appendBigEndian(QByteArray &out, std::uint32_t value);
    static void appendChunk(QByteArray &out, const char (&type)[5], QByteArrayView data);
    // The content of an IHDR chunk for an 8-bit picture of this size.
    static QByteArray header(QSize size, std::uint8_t colourType);
    // The content of a PLTE chunk holding these colours in their order.
    static QByteArray paletteEntries(const std::vector<QRgb> &colours);

    // The deflated rows of the area of an RGB32 picture, each row filter
    // type none and one byte a pixel. Nothing when `byteOf` refuses a colour
    // or compression fails. The bytes stay valid until the next call on the
    // same thread.
    static std::optional<QByteArrayView> imageData(const QImage &image, QRect area, const ByteOf &byteOf);
    // The same for grey levels; nothing when a colour is not a grey.
    static std::optional<QByteArrayView> greyData(const QImage &image, QRect area);
    // The same for a truecolour picture, three bytes a pixel, each row
    // filter type sub. Nothing when compression fails.
    static std::optional<QByteArrayView> truecolourData(const QImage &image, QRect area);
};

} // namespace zelbrook
