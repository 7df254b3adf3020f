// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/png_deflater.h"

#include <cstdint>
#include <span>
#include <vector>

namespace zelbrook {

// Filters and compresses the rows of PNG images, one image after another,
// by one of three policies:
//
// - Fast: every row takes PngFilters::fastType, then zlib's fastest level
//   with run-length matches only: a figure's picture is long runs of one
//   colour with short strokes, which this finds at a fraction of the
//   default's time. The rows are kept until the image ends and come out as
//   one piece.
// - Streamed: the same, each row compressed as it comes and the stream sent
//   in pieces as they fill, so that an image of any size needs about a row
//   of memory.
// - Smallest: of the ways of writing the same pixels, the one whose rows
//   come out smallest unfiltered at zlib's default level is filtered five
//   more ways (every other PNG filter for all rows, and for each row the
//   filter of least weight). The smallest of those is packed at the default
//   level with the filtered strategy too, then at the best level with
//   whichever strategy did better and with the run-length one, and the
//   smallest stream of all is kept.
//
// A row is a filter type byte, which the packer sets, and the pixels'
// bytes.
class PngPacker
{
public:
    enum class Policy { Fast, Streamed, Smallest };
    using Piece = PngDeflater::Piece;
    struct Packed {
        std::size_t choice = 0;          // which of the ways of writing the pixels
        std::vector<std::uint8_t> bytes; // its zlib stream; empty when zlib failed
    };

    explicit PngPacker(Policy policy);

    // Starts an image, dropping what is left of one not finished.
    void start();
    // One row of the image: the streamed packing sends each piece of its
    // stream to `piece` as it fills; the others keep the row until the end.
    Status packRow(std::span<std::uint8_t> row, int pixelBytes, const Piece &piece);
    // Ends the image: what is left of its stream goes to `piece`.
    Status finish(const Piece &piece);
    // A whole image, written one or more ways, each `rows` rows of
    // `rowBytes` bytes after their type byte. Smallest chooses among them;
    // the other policies take the first.
    Packed pack(std::vector<std::vector<std::uint8_t>> &ways, int rowBytes, int rows, int pixelBytes);

private:
    Packed packSmallest(std::vector<std::vector<std::uint8_t>> &ways, int rowBytes, int rows, int pixelBytes);

    Policy m_policy;
    std::vector<PngDeflater> m_deflaters;
    std::vector<std::uint8_t> m_rows;     // the image's rows, kept until it ends
    std::vector<std::uint8_t> m_filtered; // a row with its filter applied
    std::vector<std::uint8_t> m_packed;
    int m_rowCount = 0;
    int m_rowBytes = 0;
    int m_pixelBytes = 1;
};

} // namespace zelbrook
