// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_encoder.h"

#include "platform/png_chunks.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zelbrook {

namespace {

constexpr int kMaximumColours = 256;

// The picture's colours, in order of first appearance, each with its index.
// An open-addressed table of twice the largest palette keeps a lookup to a
// probe or two.
class Palette
{
public:
    Palette() { m_slots.fill(kEmpty); }

    // The colour's index, or -1 once a colour past the 256th turns up.
    int indexOf(QRgb rgb)
    {
        std::uint32_t slot = (rgb * 2654435761u) >> (32 - kSlotBits);
        for (;;) {
            const std::uint32_t entry = m_slots[slot];
            if (entry == kEmpty)
                break;
            if (m_colours[entry] == rgb)
                return static_cast<int>(entry);
            slot = (slot + 1) & (kSlots - 1);
        }
        if (m_colours.size() == kMaximumColours)
            return -1;
        m_slots[slot] = static_cast<std::uint32_t>(m_colours.size());
        m_colours.push_back(rgb);
        return static_cast<int>(m_colours.size() - 1);
    }

    const std::vector<QRgb> &colours() const { return m_colours; }

private:
    static constexpr int kSlotBits = 9;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::array<std::uint32_t, kSlots> m_slots;
    std::vector<QRgb> m_colours;
};

bool isGrey(QRgb rgb) { return qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb); }

QByteArray paletteEntries(const std::vector<QRgb> &colours)
{
    QByteArray data;
    for (const QRgb rgb : colours) {
        const char entry[3] = {char(qRed(rgb)), char(qGreen(rgb)), char(qBlue(rgb))};
        data.append(entry, 3);
    }
    return data;
}

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
    // Grey levels are tried first, as the figure's pictures have only those.
    Palette palette;
    std::optional<QByteArrayView> idat =
        PngChunks::imageData(image, image.rect(), [](QRgb rgb) { return isGrey(rgb) ? qBlue(rgb) : -1; });
    const bool grey = idat.has_value();
    if (!grey)
        idat = PngChunks::imageData(image, image.rect(), [&palette](QRgb rgb) { return palette.indexOf(rgb); });
    if (!idat)
        return {};

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(idat->size() + 3 * kMaximumColours + 128);
    PngChunks::appendChunk(png, "IHDR",
                           PngChunks::header(image.size(), grey ? PngChunks::kGreyType : PngChunks::kPaletteType));
    if (!grey)
        PngChunks::appendChunk(png, "PLTE", paletteEntries(palette.colours()));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        PngChunks::appendChunk(png, "pHYs", physicalSize(image));
    PngChunks::appendChunk(png, "IDAT", *idat);
    PngChunks::appendChunk(png, "IEND", {});
    return png;
}

} // namespace zelbrook
