// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/png_rows.h"

#include <cstdlib>

namespace zelbrook {

namespace {

constexpr int kStrategyOf[] = {Z_DEFAULT_STRATEGY, Z_FILTERED};

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The row filtered with PNG filter `type` (0 none, 1 sub, 2 up, 3 average,
// 4 paeth) into `out`, after its type byte.
void filterRow(const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes, int type,
               std::uint8_t *out)
{
    *out++ = std::uint8_t(type);
    for (int i = 0; i < bytes; ++i) {
        const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
        const int b = above ? above[i] : 0;
        const int c = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
        const int predicted = type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : type == 4 ? paeth(a, b, c) : 0;
        out[i] = std::uint8_t(row[i] - predicted);
    }
}

int weight(const std::uint8_t *filtered, int bytes)
{
    int sum = 0;
    for (int i = 0; i < bytes; ++i)
        sum += std::abs(int(std::int8_t(filtered[i])));
    return sum;
}

} // namespace

PngRowPacker::PngRowPacker()
{
    for (std::size_t i = 0; i < kStrategies; ++i)
        m_ready[i] = deflateInit2(&m_streams[i], 9, Z_DEFLATED, 15, 9, kStrategyOf[i]) == Z_OK;
}

PngRowPacker::~PngRowPacker()
{
    for (std::size_t i = 0; i < kStrategies; ++i)
        if (m_ready[i])
            deflateEnd(&m_streams[i]);
}

bool PngRowPacker::deflateInto(std::size_t strategy, const std::vector<std::uint8_t> &in,
                               std::vector<std::uint8_t> &out)
{
    z_stream &stream = m_streams[strategy];
    if (!m_ready[strategy] || deflateReset(&stream) != Z_OK)
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

std::vector<std::uint8_t> PngRowPacker::pack(const std::vector<std::uint8_t> &pixels, int rowBytes, int rows,
                                             int pixelBytes)
{
    const auto stride = std::size_t(rowBytes) + 1;
    std::vector<std::uint8_t> plain(stride * std::size_t(rows));
    std::vector<std::uint8_t> adaptive(plain.size());
    std::vector<std::uint8_t> trial(stride);
    for (int y = 0; y < rows; ++y) {
        const std::uint8_t *row = pixels.data() + std::size_t(y) * std::size_t(rowBytes);
        const std::uint8_t *above = y > 0 ? row - rowBytes : nullptr;
        filterRow(row, above, rowBytes, pixelBytes, 0, plain.data() + std::size_t(y) * stride);
        int best = -1;
        for (int type = 0; type < 5; ++type) {
            filterRow(row, above, rowBytes, pixelBytes, type, trial.data());
            const int sum = weight(trial.data() + 1, rowBytes);
            if (best < 0 || sum < best) {
                best = sum;
                std::copy(trial.begin(), trial.end(), adaptive.begin() + std::ptrdiff_t(std::size_t(y) * stride));
            }
        }
    }
    std::vector<std::uint8_t> smallest, packed;
    // Unfiltered rows suit the default strategy, filtered ones the other.
    for (std::size_t strategy = 0; strategy < kStrategies; ++strategy)
        if (deflateInto(strategy, strategy == 0 ? plain : adaptive, packed)
            && (smallest.empty() || packed.size() < smallest.size()))
            smallest.swap(packed);
    return smallest;
}

} // namespace zelbrook
