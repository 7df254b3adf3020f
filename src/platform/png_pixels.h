// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/colour_palette.h"
#include "platform/png_format.h"

#include <cstdint>
#include <vector>

namespace zelbrook {

// Turns rows of pixels into the bytes a PNG format stores them as. Pixels
// come opaque (RGB32) or as straight ARGB32; a pixel of alpha 0 is
// transparent whatever its colour. A pixel the format cannot hold is never
// changed into another: the row is refused.
class PngPixels
{
public:
    explicit PngPixels(const PngFormat &format);

    // Writes `width` pixels to `out`, format.bytesPerPixel() bytes each;
    // false when one has a colour the format cannot hold.
    bool pack(const QRgb *pixels, int width, std::uint8_t *out, bool opaque);
    // An indexed image's entries, with those its rows brought.
    const std::vector<QRgb> &colours() const { return m_palette.colours(); }

private:
    int byteOf(QRgb argb);
    bool packRuns(const QRgb *pixels, int width, std::uint8_t *out, bool opaque);

    PngFormat::Pixels m_pixels;
    ColourPalette m_palette;
    bool m_onlyPalette; // a colour the palette lacks is refused
    bool m_gathering;   // a colour the palette lacks is added, up to 256
};

} // namespace zelbrook
