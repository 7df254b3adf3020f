// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_packer.h"

#include "platform/png_filters.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

struct Setting {
    int level;
    int strategy;
};
// Smallest: the default level of each strategy, the best level of each, and
// runs.
constexpr Setting kSmallest[] = {
    {Z_DEFAULT_COMPRESSION, Z_DEFAULT_STRATEGY},
    {Z_DEFAULT_COMPRESSION, Z_FILTERED},
    {Z_BEST_COMPRESSION, Z_DEFAULT_STRATEGY},
    {Z_BEST_COMPRESSION, Z_FILTERED},
    {Z_BEST_COMPRESSION, Z_RLE},
};
constexpr std::size_t kQuick = 0, kQuickFiltered = 1, kBest = 2, kBestFiltered = 3, kRuns = 4;
constexpr Setting kFastest = {Z_BEST_SPEED, Z_RLE};

using Ways = std::array<std::vector<std::uint8_t>, PngFilters::kTypes>;

void setTypes(std::vector<std::uint8_t> &rows, std::size_t stride, PngFilters::Type type)
{
    for (std::size_t at = 0; at < rows.size(); at += stride)
        rows[at] = type;
}

// The rows filtered with every filter but none, and last with the filter
// of least weight for each row, of `plain`, whose rows take none.
Ways filteredWays(const std::vector<std::uint8_t> &plain, int rowBytes, int rows, int pixelBytes)
{
    const auto stride = std::size_t(rowBytes) + 1;
    Ways ways;
    for (std::vector<std::uint8_t> &way : ways)
        way.resize(stride * std::size_t(rows));
    std::vector<std::uint8_t> &adaptive = ways.back();
    for (std::size_t at = 0; at < plain.size(); at += stride) {
        const std::uint8_t *row = plain.data() + at + 1;
        const std::uint8_t *above = at > 0 ? row - stride : nullptr;
        const std::uint8_t *least = row - 1;
        int leastWeight = PngFilters::weight(row, rowBytes);
        for (int type = PngFilters::Sub; type < PngFilters::kTypes; ++type) {
            std::uint8_t *out = ways[std::size_t(type - 1)].data() + at;
            out[0] = std::uint8_t(type);
            PngFilters::apply(PngFilters::Type(type), row, above, rowBytes, pixelBytes, out + 1);
            if (const int weight = PngFilters::weight(out + 1, rowBytes); weight < leastWeight) {
                leastWeight = weight;
                least = out;
            }
        }
        std::copy_n(least, stride, adaptive.begin() + std::ptrdiff_t(at));
    }
    return ways;
}

} // namespace

PngPacker::PngPacker(Policy policy)
    : m_policy(policy)
{
    if (policy != Policy::Smallest)
        m_deflaters.emplace_back(kFastest.level, kFastest.strategy);
    else
        for (const Setting &setting : kSmallest)
            m_deflaters.emplace_back(setting.level, setting.strategy);
}

void PngPacker::start()
{
    m_rows.clear();
    m_rowCount = 0;
    m_deflaters.front().discard();
}

Status PngPacker::packRow(std::span<std::uint8_t> row, int pixelBytes, const Piece &piece)
{
    m_rowBytes = int(row.size()) - 1;
    m_pixelBytes = pixelBytes;
    std::span<const std::uint8_t> packed = row;
    if (m_policy != Policy::Smallest) {
        row[0] = PngFilters::fastType(pixelBytes);
        if (row[0] != PngFilters::None) {
            m_filtered.resize(row.size());
            m_filtered[0] = row[0];
            PngFilters::apply(PngFilters::Type(row[0]), &row[1], nullptr, m_rowBytes, pixelBytes, &m_filtered[1]);
            packed = m_filtered;
        }
    }
    if (m_policy == Policy::Streamed)
        return m_deflaters.front().deflatePart(packed, false, piece);
    m_rows.insert(m_rows.end(), packed.begin(), packed.end());
    ++m_rowCount;
    return {};
}

Status PngPacker::finish(const Piece &piece)
{
    if (m_policy == Policy::Streamed)
        return m_deflaters.front().deflatePart({}, true, piece);
    std::size_t length = 0;
    if (m_policy == Policy::Fast) {
        length = m_deflaters.front().deflateAll(m_rows, m_packed);
    } else if (m_rowCount > 0) {
        std::vector<std::vector<std::uint8_t>> ways{std::move(m_rows)};
        m_packed = packSmallest(ways, m_rowBytes, m_rowCount, m_pixelBytes).bytes;
        m_rows = std::move(ways[0]);
        length = m_packed.size();
    }
    start();
    if (length == 0)
        return Error{"The picture could not be compressed."};
    return piece({m_packed.data(), length});
}

PngPacker::Packed PngPacker::pack(std::vector<std::vector<std::uint8_t>> &ways, int rowBytes, int rows, int pixelBytes)
{
    if (m_policy == Policy::Smallest)
        return packSmallest(ways, rowBytes, rows, pixelBytes);
    Packed packed;
    const Piece collect = [&packed](std::span<const std::uint8_t> bytes) {
        packed.bytes.insert(packed.bytes.end(), bytes.begin(), bytes.end());
        return Status{};
    };
    start();
    const auto stride = std::size_t(rowBytes) + 1;
    for (std::size_t at = 0; at < stride * std::size_t(rows); at += stride)
        if (!packRow({ways[0].data() + at, stride}, pixelBytes, collect))
            return {};
    if (!finish(collect))
        return {};
    return packed;
}

PngPacker::Packed PngPacker::packSmallest(std::vector<std::vector<std::uint8_t>> &ways, int rowBytes, int rows,
                                          int pixelBytes)
{
    Packed smallest;
    std::size_t smallestLength = 0, length = 0;
    std::vector<std::uint8_t> packed;
    const std::vector<std::uint8_t> *bestRows = nullptr;
    const auto keep = [&](std::size_t choice) {
        if (length == 0 || (smallestLength > 0 && length >= smallestLength))
            return false;
        smallest.choice = choice;
        smallest.bytes.swap(packed);
        smallestLength = length;
        return true;
    };
    const auto deflate = [&](std::size_t stream, const std::vector<std::uint8_t> &rows) {
        length = m_deflaters[stream].deflateAll(rows, packed);
    };
    // The ways of writing the pixels are told apart unfiltered; only the
    // smallest is tried with the filters.
    for (std::size_t choice = 0; choice < ways.size(); ++choice) {
        setTypes(ways[choice], std::size_t(rowBytes) + 1, PngFilters::None);
        deflate(kQuick, ways[choice]);
        if (keep(choice))
            bestRows = &ways[choice];
    }
    if (!bestRows)
        return {};
    const Ways filtered = filteredWays(ways[smallest.choice], rowBytes, rows, pixelBytes);
    for (const std::vector<std::uint8_t> &way : filtered) {
        deflate(kQuick, way);
        if (keep(smallest.choice))
            bestRows = &way;
    }
    // The strategy that does better at the default level is tried at the
    // best level, which mostly, but not always, does better again.
    deflate(kQuickFiltered, *bestRows);
    const bool filteredWins = keep(smallest.choice);
    for (const std::size_t stream : {filteredWins ? kBestFiltered : kBest, kRuns}) {
        deflate(stream, *bestRows);
        keep(smallest.choice);
    }
    smallest.bytes.resize(smallestLength);
    return smallest;
}

} // namespace zelbrook
