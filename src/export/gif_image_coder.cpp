// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_image_coder.h"

#include "export/gif_lzw.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

namespace zelbrook {

namespace {

constexpr std::int16_t kClear = -1;   // not drawn
constexpr std::int16_t kMissing = -2; // a colour the table lacks

enum class Unchanged { Opaque, Transparent, FewestChanges };

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

// Each pixel of the area: its index in the table, and whether it changed.
struct AreaPixels {
    std::vector<std::int16_t> own;
    std::vector<std::uint8_t> changed;
};

AreaPixels pixelsOf(const QImage &frame, const QImage &canvas, QRect area, const GifColourTable &table,
                    const ExactColours &exact)
{
    AreaPixels pixels;
    pixels.own.reserve(std::size_t(area.width()) * std::size_t(area.height()));
    pixels.changed.reserve(pixels.own.capacity());
    QRgb last = 0;
    std::int16_t index = kClear;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *is = row(frame, y);
        const QRgb *was = row(canvas, y);
        for (int x = area.left(); x <= area.right(); ++x) {
            if (is[x] != last) {
                last = is[x];
                const int found = qAlpha(last) == 0 ? kClear : table.indexOf(last, exact);
                index = found < 0 && qAlpha(last) != 0 ? kMissing : std::int16_t(found);
            }
            pixels.own.push_back(index);
            pixels.changed.push_back(is[x] != was[x]);
        }
    }
    return pixels;
}

struct Choice {
    std::vector<std::uint8_t> indices;
    int transparent = -1;
};

// Unchanged pixels as transparent or in their own colour, whichever makes
// fewer changes from one pixel to the next over the whole area.
void fewestChanges(const AreaPixels &pixels, std::uint8_t transparent, std::vector<std::uint8_t> &out)
{
    const std::size_t count = pixels.own.size();
    std::vector<std::uint8_t> from(count, 0); // bit s: state s came from state 1
    std::array<int, 2> cost{0, 1 << 30};
    std::array<int, 2> value{-1, -1};
    auto options = [&](std::size_t i) -> std::array<int, 2> {
        const int own = pixels.own[i];
        if (pixels.changed[i])
            return {own >= 0 ? own : transparent, -1};
        return {transparent, own >= 0 && own != transparent ? own : -1};
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::array<int, 2> now = options(i);
        std::array<int, 2> next{1 << 30, 1 << 30};
        for (int s = 0; s < 2; ++s) {
            if (now[s] < 0)
                continue;
            for (int p = 0; p < 2; ++p) {
                const int c = i == 0 ? (p == 0 ? 0 : 1 << 30) : cost[p] + (value[p] != now[s] ? 1 : 0);
                if (c < next[s]) {
                    next[s] = c;
                    from[i] = std::uint8_t((from[i] & ~(1 << s)) | (p << s));
                }
            }
        }
        cost = next;
        value = now;
    }
    int state = cost[1] < cost[0] ? 1 : 0;
    for (std::size_t i = count; i-- > 0;) {
        out[i] = std::uint8_t(options(i)[state]);
        state = (from[i] >> state) & 1;
    }
}

std::optional<Choice> choose(const AreaPixels &pixels, Unchanged mode, int entries)
{
    std::array<bool, 256> used{};
    bool needsTransparent = false;
    for (std::size_t i = 0; i < pixels.own.size(); ++i) {
        const int own = pixels.own[i];
        if (pixels.changed[i] && own == kMissing)
            return std::nullopt;
        if (own < 0 || (!pixels.changed[i] && mode == Unchanged::Transparent))
            needsTransparent = true;
        else if (pixels.changed[i] || mode == Unchanged::Opaque)
            used[std::size_t(own)] = true;
    }
    Choice choice;
    const auto spare = std::find(used.begin(), used.end(), false);
    choice.transparent = spare == used.end() ? -1 : int(spare - used.begin());
    if (choice.transparent >= entries)
        choice.transparent = -1;
    if (needsTransparent && choice.transparent < 0)
        return std::nullopt;
    choice.indices.resize(pixels.own.size());
    const auto transparent = std::uint8_t(std::max(choice.transparent, 0));
    if (mode == Unchanged::FewestChanges && choice.transparent >= 0) {
        fewestChanges(pixels, transparent, choice.indices);
    } else {
        for (std::size_t i = 0; i < pixels.own.size(); ++i) {
            const int own = pixels.own[i];
            const bool opaque = own >= 0 && (pixels.changed[i] || mode != Unchanged::Transparent);
            choice.indices[i] = opaque ? std::uint8_t(own) : transparent;
        }
    }
    if (std::find(choice.indices.begin(), choice.indices.end(), transparent) == choice.indices.end())
        choice.transparent = -1;
    return choice;
}

// The smallest of the ways to write the area with this table.
std::optional<GifImage> smallest(const AreaPixels &pixels, int entries, QRect area, std::vector<QRgb> local)
{
    std::optional<GifImage> best;
    const bool allChanged = std::all_of(pixels.changed.begin(), pixels.changed.end(), [](auto c) { return c; });
    for (const Unchanged mode : {Unchanged::Opaque, Unchanged::Transparent, Unchanged::FewestChanges}) {
        const std::optional<Choice> choice = choose(pixels, mode, entries);
        if (!choice)
            continue;
        GifImage image;
        image.area = area;
        image.localColours = local;
        image.transparent = choice->transparent;
        image.codeSize = lzwCodeSize(*std::max_element(choice->indices.begin(), choice->indices.end()));
        image.code = lzwCode(choice->indices.data(), choice->indices.size(), image.codeSize);
        if (!best || image.size() < best->size())
            best = std::move(image);
        if (allChanged && best)
            break; // every way writes the same pixels
    }
    return best;
}

} // namespace

int GifImage::localEntries() const
{
    int entries = 2;
    while (entries < int(localColours.size()) || entries <= transparent)
        entries *= 2;
    return entries;
}

std::size_t GifImage::size() const
{
    return 10 + (localColours.empty() ? 0 : 3 * std::size_t(localEntries())) + imageDataSize(code.size());
}

std::vector<QRgb> changedColours(const QImage &frame, const QImage &canvas, QRect area)
{
    std::unordered_map<QRgb, std::size_t> uses;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *is = row(frame, y);
        const QRgb *was = row(canvas, y);
        // Along a row the colour seldom changes: each run is counted at once.
        for (int x = area.left(); x <= area.right();) {
            int end = x + 1;
            while (end <= area.right() && is[end] == is[x] && (is[end] != was[end]) == (is[x] != was[x]))
                ++end;
            if (is[x] != was[x] && qAlpha(is[x]) != 0)
                uses[is[x] & 0x00FFFFFFu] += std::size_t(end - x);
            x = end;
        }
    }
    std::vector<std::pair<std::size_t, QRgb>> byUse;
    for (const auto &[rgb, count] : uses)
        byUse.emplace_back(count, rgb);
    std::sort(byUse.begin(), byUse.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    std::vector<QRgb> colours;
    for (const auto &[count, rgb] : byUse)
        colours.push_back(rgb);
    return colours;
}

Result<GifColourTable> firstTable(const QImage &frame, QRect area, const ExactColours &exact)
{
    QImage nothing(frame.size(), QImage::Format_ARGB32);
    nothing.fill(0);
    const std::vector<QRgb> colours = changedColours(frame, nothing, area);
    if (colours.size() <= std::size_t(ColourPalette::kMaximumColours))
        return GifColourTable::inOrder(colours);
    std::optional<GifColourTable> reduced = GifColourTable::of(frame, area, exact);
    if (!reduced)
        return Error{"The frame has more colours than a GIF can hold: over 256 even with the colours that need not "
                     "be exact within 16 levels of their own."};
    return std::move(*reduced);
}

Result<GifImage> codeImage(const QImage &frame, const QImage &canvas, QRect area, const GifColourTable &global,
                           int globalEntries, const ExactColours &exact)
{
    std::optional<GifImage> best = smallest(pixelsOf(frame, canvas, area, global, exact), globalEntries, area, {});
    const std::vector<QRgb> colours = changedColours(frame, canvas, area);
    if (best && lzwCodeSize(int(colours.size())) >= best->codeSize)
        return std::move(*best);
    const Result<GifColourTable> local = colours.size() <= std::size_t(ColourPalette::kMaximumColours)
                                             ? Result<GifColourTable>(GifColourTable::inOrder(colours))
                                             : firstTable(frame, area, exact);
    if (!local)
        return local.error();
    std::optional<GifImage> own = smallest(pixelsOf(frame, canvas, area, *local, exact), 256, area, local->colours());
    if (own && (!best || own->size() < best->size()))
        best = std::move(own);
    if (!best)
        return Error{"The frame has more colours than a GIF can hold."};
    return std::move(*best);
}

} // namespace zelbrook
