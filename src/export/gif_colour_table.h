// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "platform/colour_palette.h"

#include <QImage>
#include <QRect>

#include <optional>

namespace zelbrook {

// The colours of one GIF colour table, each with its index. A table made
// for more than 256 colours holds the exact colours as they are and the
// others reduced to fewer levels.
class GifColourTable
{
public:
    // The largest distance of a reduced colour's channel from its own.
    static constexpr int kMaximumReduction = 16;

    // The table of the area's colours: every colour as it is when they are
    // at most 256, else the colours that need not be exact reduced by as
    // little as makes them fit; nothing when even that leaves too many.
    static std::optional<GifColourTable> of(const QImage &frame, QRect area, const ExactColours &exact);

    // The table of these colours in this order, at most 256.
    static GifColourTable inOrder(const std::vector<QRgb> &colours);

    // The index of the colour (alpha masked off) or of the level it is
    // reduced to; -1 when the table holds neither.
    int indexOf(QRgb rgb, const ExactColours &exact) const;
    const std::vector<QRgb> &colours() const { return m_palette.colours(); }

private:
    QRgb reduced(QRgb rgb, const ExactColours &exact) const;

    ColourPalette m_palette;
    int m_step = 1; // the distance between the levels colours are reduced to
};

} // namespace zelbrook
