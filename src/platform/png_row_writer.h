// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace zelbrook {

class ColourPalette;

// Writes one PNG picture a few rows at a time, straight into a stream of
// bytes: the rows are compressed as they come and each full buffer of
// compressed data goes out as an IDAT chunk, so the whole picture is never
// in memory. Pixels are given as straight (not premultiplied) ARGB32 rows
// and stored in the smallest kind the caller names; a pixel that kind
// cannot hold stops the picture with an error rather than being changed.
// An indexed picture stores each pixel as its place among the colours
// given, which are straight ARGB with those not opaque first.
class PngRowWriter
{
public:
    enum class Pixels { Grey, GreyAlpha, Truecolour, TruecolourAlpha, Indexed };
    using Sink = std::function<Status(std::string_view bytes)>;

    PngRowWriter(QSize size, Pixels pixels, Sink sink, const std::vector<QRgb> &palette = {});
    ~PngRowWriter();
    PngRowWriter(const PngRowWriter &) = delete;
    PngRowWriter &operator=(const PngRowWriter &) = delete;

    // Writes rows `from` up to `to` (one past the last) of the picture; the
    // picture's width must be the PNG's. The header goes out before the
    // first row.
    Status writeRows(const QImage &rows, int from, int to);
    // Ends the picture; every row must have been written.
    Status finish();

private:
    Status start();
    Status packRow(const QRgb *row);
    Status deflateRow(int flush);
    Status writeChunk(const char (&type)[5], std::string_view data);

    QSize m_size;
    Pixels m_pixels;
    Sink m_sink;
    int m_rowsWritten = 0;
    bool m_started = false;
    bool m_ready = false;
    std::vector<std::uint8_t> m_row;
    std::vector<std::uint8_t> m_compressed;
    std::size_t m_filled = 0; // bytes of m_compressed not yet sent
    std::unique_ptr<z_stream_s> m_zlib;
    std::unique_ptr<ColourPalette> m_palette; // of an indexed picture
};

} // namespace zelbrook
