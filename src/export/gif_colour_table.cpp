// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_colour_table.h"

#include <algorithm>

namespace zelbrook {

namespace {

// Rounded to the nearest multiple of the step, halves up, at most 255: never
// more than half a step, and so never more than 16 levels, away.
int level(int value, int step) { return std::min(255, (value + step / 2) / step * step); }

} // namespace

std::optional<GifColourTable> GifColourTable::of(const QImage &frame, QRect area, const ExactColours &exact)
{
    for (int step = 1; step <= 2 * kMaximumReduction; step *= 2) {
        GifColourTable table;
        table.m_step = step;
        if (!table.m_palette.addColoursOf(frame, area, [&](QRgb rgb) { return table.reduced(rgb, exact); }))
            continue;
        return table;
    }
    return std::nullopt;
}

GifColourTable GifColourTable::inOrder(const std::vector<QRgb> &colours)
{
    GifColourTable table;
    for (const QRgb rgb : colours)
        table.m_palette.add(rgb & 0x00FFFFFFu);
    return table;
}

int GifColourTable::indexOf(QRgb rgb, const ExactColours &exact) const
{
    return m_palette.find(reduced(rgb & 0x00FFFFFFu, exact));
}

QRgb GifColourTable::reduced(QRgb rgb, const ExactColours &exact) const
{
    if (m_step == 1 || exact.holds(rgb))
        return rgb;
    return qRgb(level(qRed(rgb), m_step), level(qGreen(rgb), m_step), level(qBlue(rgb), m_step)) & 0x00FFFFFFu;
}

} // namespace zelbrook
