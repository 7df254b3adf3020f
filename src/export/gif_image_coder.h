// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/gif_colour_table.h"
#include "model/result.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <vector>

namespace zelbrook {

// One GIF image, ready to be written: where it goes, its own colour table
// (none when it uses the global one), its transparent index (-1 for none)
// and its LZW code.
struct GifImage {
    QRect area;
    std::vector<QRgb> localColours;
    int transparent = -1;
    int codeSize = 2;
    std::vector<std::uint8_t> code;

    // The entries of the local table: a power of two from 2.
    int localEntries() const;
    // The bytes of its descriptor, table and data.
    std::size_t size() const;
};

// The colours of the pixels of the area that differ from the canvas,
// most used first; pixels with alpha 0 are left out.
std::vector<QRgb> changedColours(const QImage &frame, const QImage &canvas, QRect area);

// The global table of the first frame: its colours, most used first (so
// that later frames, which mostly use the figures' few colours, need few
// bits a pixel), or reduced as GifColourTable does past 256.
Result<GifColourTable> firstTable(const QImage &frame, QRect area, const ExactColours &exact);

// Codes the area of the frame to be drawn over the canvas, trying the
// global table and a local one of the changed pixels' colours, and for each
// the unchanged pixels opaque, transparent, or whichever makes fewer changes
// from one pixel to the next; keeps the smallest. Frames are straight-alpha
// ARGB32 with 0 for a pixel that is not drawn.
Result<GifImage> codeImage(const QImage &frame, const QImage &canvas, QRect area, const GifColourTable &global,
                           int globalEntries, const ExactColours &exact);

} // namespace zelbrook
