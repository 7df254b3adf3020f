// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/colour_palette.h"

#include <algorithm>

namespace zelbrook {

// The slot that holds the colour, or the empty slot where it would go.
std::uint32_t ColourPalette::slotOf(QRgb rgb) const
{
    std::uint32_t slot = (rgb * 2654435761u) >> (32 - kSlotBits);
    while (m_slots[slot] != kEmpty && m_colours[m_slots[slot]] != rgb)
        slot = (slot + 1) & (kSlots - 1);
    return slot;
}

int ColourPalette::add(QRgb rgb)
{
    const std::uint32_t slot = slotOf(rgb);
    if (m_slots[slot] != kEmpty)
        return static_cast<int>(m_slots[slot]);
    if (count() == kMaximumColours)
        return -1;
    m_slots[slot] = static_cast<std::uint32_t>(m_colours.size());
    m_colours.push_back(rgb);
    return count() - 1;
}

// Along a row of a figure's picture the colour seldom changes, so each run
// of one colour is added once.
bool ColourPalette::addColoursOf(const QImage &image, QRect area, const std::function<QRgb(QRgb)> &colourOf)
{
    QRgb last = 0xFFFFFFFFu; // no colour once the alpha byte is masked off
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((pixels[x] & 0x00FFFFFFu) == last)
                continue;
            last = pixels[x] & 0x00FFFFFFu;
            if (add(colourOf ? colourOf(last) : last) < 0)
                return false;
        }
    }
    return true;
}

int ColourPalette::find(QRgb rgb) const
{
    const std::uint32_t entry = m_slots[slotOf(rgb)];
    return entry == kEmpty ? -1 : static_cast<int>(entry);
}

PictureColours pictureColours(const QImage &first, const std::vector<QRgb> &more)
{
    PictureColours found;
    QRgb last = 1; // no pixel: a transparent one is 0
    const auto add = [&found, &last](QRgb argb) {
        if (argb == last)
            return;
        last = argb;
        found.grey = found.grey && isGrey(argb);
        found.alpha = found.alpha || qAlpha(argb) != 255;
        found.fits = found.fits && found.palette.add(argb) >= 0;
    };
    for (int y = 0; y < first.height(); ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(first.constScanLine(y));
        std::for_each(pixels, pixels + first.width(), add);
    }
    std::for_each(more.begin(), more.end(), add);
    return found;
}

std::vector<QRgb> PictureColours::transparentFirst(bool transparent) const
{
    std::vector<QRgb> colours = palette.colours();
    if (transparent && colours.size() < ColourPalette::kMaximumColours && palette.find(0) < 0)
        colours.push_back(0);
    std::stable_partition(colours.begin(), colours.end(), [](QRgb argb) { return qAlpha(argb) != 255; });
    return colours;
}

} // namespace zelbrook
