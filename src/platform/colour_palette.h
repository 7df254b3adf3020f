// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRect>
#include <QRgb>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace zelbrook {

// Up to 256 colours (alpha masked off by the caller), in the order they were
// added, each with its index. An open-addressed table of twice the largest
// palette keeps a lookup to a probe or two.
class ColourPalette
{
public:
    static constexpr int kMaximumColours = 256;

    ColourPalette() { m_slots.fill(kEmpty); }

    // The colour's index, adding it when it is new; -1 once a colour past
    // the 256th turns up.
    int add(QRgb rgb);
    // Adds the colours of the area of an RGB32 picture, each as `colourOf`
    // gives it when there is one; false once they are more than 256.
    bool addColoursOf(const QImage &image, QRect area, const std::function<QRgb(QRgb)> &colourOf = {});
    // The colour's index, or -1 when the palette does not hold it.
    int find(QRgb rgb) const;

    const std::vector<QRgb> &colours() const { return m_colours; }
    int count() const { return static_cast<int>(m_colours.size()); }

private:
    static constexpr int kSlotBits = 9;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    std::uint32_t slotOf(QRgb rgb) const;

    std::array<std::uint32_t, kSlots> m_slots;
    std::vector<QRgb> m_colours;
};

// The colours a picture will hold, found at its first frame: each colour of
// `first` (straight ARGB32 or RGB32, every transparent pixel 0) and of
// `more` (ARGB).
struct PictureColours {
    ColourPalette palette; // the colours found while they were at most 256
    bool fits = true;      // whether they were
    bool grey = true;      // every colour a grey, alpha aside
    bool alpha = false;    // some colour not opaque

    // The palette's colours with those not opaque first, as PNG's tRNS
    // chunk lists them; `transparent` adds a transparent colour if there
    // is room.
    std::vector<QRgb> transparentFirst(bool transparent = false) const;
};

PictureColours pictureColours(const QImage &first, const std::vector<QRgb> &more);

inline bool isGrey(QRgb rgb) { return qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb); }

} // namespace zelbrook
