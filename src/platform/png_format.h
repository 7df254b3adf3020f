// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRgb>
#include <QSize>

#include <cstdint>
#include <vector>

namespace zelbrook {

// How a PNG image stores its pixels, eight bits to a sample.
struct PngFormat {
    enum class Pixels { Grey, GreyAlpha, Truecolour, TruecolourAlpha, Indexed };

    QSize size;
    Pixels pixels = Pixels::Grey;
    // Straight ARGB colours. An indexed image's entries, those not opaque
    // first; without any, the entries are the colours its rows bring, in
    // the order they come, which only a packing that keeps every row until
    // the end can write. A grey image's only allowed greys, when given, so
    // that its transparent level never stands for a pixel.
    std::vector<QRgb> colours{};
    int transparentGrey = -1; // the grey level that shows as transparent, -1 for none

    int bytesPerPixel() const;
    // The colour type byte of the image header.
    std::uint8_t colourType() const;
};

} // namespace zelbrook
