// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_pixels.h"

#include <cstring>

namespace zelbrook {

namespace {

QRgb argbOf(QRgb pixel, bool opaque)
{
    if (opaque)
        return pixel | 0xFF000000u;
    return qAlpha(pixel) == 0 ? 0 : pixel;
}

// Where the run of one pixel value that goes on at `from` ends, looking at
// four pixels at a time while they all match.
int runEnd(const QRgb *row, int from, int end, QRgb value)
{
    while (from + 4 <= end
           && ((row[from] ^ value) | (row[from + 1] ^ value) | (row[from + 2] ^ value) | (row[from + 3] ^ value)) == 0)
        from += 4;
    while (from < end && row[from] == value)
        ++from;
    return from;
}

} // namespace

PngPixels::PngPixels(const PngFormat &format)
    : m_pixels(format.pixels)
    , m_onlyPalette(!format.colours.empty())
    , m_gathering(format.pixels == PngFormat::Pixels::Indexed && format.colours.empty())
{
    for (const QRgb argb : format.colours)
        m_palette.add(argb);
}

// The byte of a colour in a grey or indexed image, or -1.
int PngPixels::byteOf(QRgb argb)
{
    if (m_pixels == PngFormat::Pixels::Indexed)
        return m_gathering ? m_palette.add(argb) : m_palette.find(argb);
    if (!isGrey(argb) || (m_onlyPalette && m_palette.find(argb) < 0))
        return -1;
    return qBlue(argb);
}

bool PngPixels::pack(const QRgb *pixels, int width, std::uint8_t *out, bool opaque)
{
    if (m_pixels == PngFormat::Pixels::Grey || m_pixels == PngFormat::Pixels::Indexed)
        return packRuns(pixels, width, out, opaque);
    const bool alpha = m_pixels != PngFormat::Pixels::Truecolour;
    for (int x = 0; x < width; ++x) {
        const QRgb argb = argbOf(pixels[x], opaque);
        if (m_pixels == PngFormat::Pixels::GreyAlpha) {
            if (!isGrey(argb))
                return false;
        } else {
            *out++ = static_cast<std::uint8_t>(qRed(argb));
            *out++ = static_cast<std::uint8_t>(qGreen(argb));
        }
        *out++ = static_cast<std::uint8_t>(qBlue(argb));
        if (alpha)
            *out++ = static_cast<std::uint8_t>(qAlpha(argb));
    }
    return true;
}

// One byte a pixel: a colour is looked up once for each run of it, which
// along a row of a figure's picture is rare.
bool PngPixels::packRuns(const QRgb *pixels, int width, std::uint8_t *out, bool opaque)
{
    for (int x = 0; x < width;) {
        const int byte = byteOf(argbOf(pixels[x], opaque));
        if (byte < 0)
            return false;
        const int end = runEnd(pixels, x + 1, width, pixels[x]);
        std::memset(out + x, byte, static_cast<std::size_t>(end - x));
        x = end;
    }
    return true;
}

} // namespace zelbrook
