// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/png_rows.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace zelbrook {

namespace {

struct Setting {
    int level;
    int strategy;
};
// The default level of each strategy, the best level of each, and runs.
constexpr Setting kSettings[] = {
    {Z_DEFAULT_COMPRESSION, Z_DEFAULT_STRATEGY},
    {Z_DEFAULT_COMPRESSION, Z_FILTERED},
    {Z_BEST_COMPRESSION, Z_DEFAULT_STRATEGY},
    {Z_BEST_COMPRESSION, Z_FILTERED},
    {Z_BEST_COMPRESSION, Z_RLE},
};
constexpr std::size_t kQuick = 0, kQuickFiltered = 1, kBest = 2, kBestFiltered = 3, kRuns = 4;

constexpr int kFilters = 5;         // none, sub, up, average, paeth
constexpr int kAdaptive = kFilters; // the sixth way: each row its own filter

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The row filtered with PNG filter `type` into `out`, after its type byte;
// returns the sum of the filtered bytes taken as signed, which is small
// where the filter predicts well.
int filterRow(const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes, int type,
              std::uint8_t *out)
{
    *out++ = std::uint8_t(type);
    int sum = 0;
    for (int i = 0; i < bytes; ++i) {
        const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int b = above ? above[i] : 0;
        const int c = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
        const int predicted = type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : type == 4 ? paeth(a, b, c) : 0;
        out[i] = std::uint8_t(row[i] - predicted);
        sum += std::abs(int(std::int8_t(out[i])));
    }
    return sum;
}

// The pixels' rows filtered each of the six ways.
std::array<std::vector<std::uint8_t>, kFilters + 1> filteredWays(const std::vector<std::uint8_t> &pixels, int rowBytes,
                                                                 int rows, int pixelBytes)
{
    const auto stride = std::size_t(rowBytes) + 1;
    std::array<std::vector<std::uint8_t>, kFilters + 1> ways;
    for (std::vector<std::uint8_t> &way : ways)
        way.resize(stride * std::size_t(rows));
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t *row = pixels.data() + std::size_t(y) * std::size_t(rowBytes);
        const std::uint8_t *above = y > 0 ? row - rowBytes : nullptr;
        const std::size_t at = std::size_t(y) * stride;
        int least = -1;
        for (int type = 0; type < kFilters; ++type) {
            const int sum = filterRow(row, above, rowBytes, pixelBytes, type, ways[std::size_t(type)].data() + at);
            if (least < 0 || sum < least) {
                least = sum;
                const auto from = ways[std::size_t(type)].begin() + std::ptrdiff_t(at);
                std::copy(from, from + std::ptrdiff_t(stride), ways[kAdaptive].begin() + std::ptrdiff_t(at));
            }
        }
    }
    return ways;
}

// The rows, each after filter type none.
std::vector<std::uint8_t> unfiltered(const std::vector<std::uint8_t> &pixels, int rowBytes, int rows)
{
    const auto stride = std::size_t(rowBytes) + 1;
    std::vector<std::uint8_t> plain(stride * std::size_t(rows));
    for (std::size_t y = 0; y < std::size_t(rows); ++y)
        std::copy_n(pixels.begin() + std::ptrdiff_t(y * std::size_t(rowBytes)), rowBytes,
                    plain.begin() + std::ptrdiff_t(y * stride + 1));
    return plain;
}

} // namespace

PngRowPacker::PngRowPacker()
{
    for (std::size_t i = 0; i < kStreams; ++i)
        m_ready[i] = deflateInit2(&m_streams[i], kSettings[i].level, Z_DEFLATED, 15, 9, kSettings[i].strategy) == Z_OK;
}

PngRowPacker::~PngRowPacker()
{
    for (std::size_t i = 0; i < kStreams; ++i)
        if (m_ready[i])
            deflateEnd(&m_streams[i]);
}

bool PngRowPacker::deflateInto(std::size_t index, const std::vector<std::uint8_t> &in, std::vector<std::uint8_t> &out)
{
    z_stream &stream = m_streams[index];
    if (!m_ready[index] || deflateReset(&stream) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, uLong(in.size())));
    stream.next_in = const_cast<Bytef *>(in.data());
    stream.avail_in = uInt(in.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        return false;
    out.resize(stream.total_out);
    return true;
}

PngRowPacker::Packed PngRowPacker::pack(const std::vector<std::vector<std::uint8_t>> &choices, int rowBytes, int rows,
                                        int pixelBytes)
{
    Packed smallest;
    std::vector<std::uint8_t> bestRows, packed;
    const auto keep = [&smallest, &packed](std::size_t choice) {
        if (!smallest.bytes.empty() && packed.size() >= smallest.bytes.size())
            return false;
        smallest.choice = choice;
        smallest.bytes.swap(packed);
        return true;
    };
    // The ways of writing the pixels are told apart unfiltered; only the
    // smallest is tried with the filters.
    for (std::size_t choice = 0; choice < choices.size(); ++choice) {
        std::vector<std::uint8_t> plain = unfiltered(choices[choice], rowBytes, rows);
        if (deflateInto(kQuick, plain, packed) && keep(choice))
            bestRows.swap(plain);
    }
    std::array<std::vector<std::uint8_t>, kFilters + 1> ways =
        filteredWays(choices[smallest.choice], rowBytes, rows, pixelBytes);
    for (std::size_t way = 1; way < ways.size(); ++way)
        if (deflateInto(kQuick, ways[way], packed) && keep(smallest.choice))
            bestRows.swap(ways[way]);
    // The strategy that does better at the default level is tried at the
    // best level, which mostly, but not always, does better again.
    const bool filtered = deflateInto(kQuickFiltered, bestRows, packed) && keep(smallest.choice);
    for (const std::size_t stream : {filtered ? kBestFiltered : kBest, kRuns})
        if (deflateInto(stream, bestRows, packed))
            keep(smallest.choice);
    return smallest;
}

} // namespace zelbrook
