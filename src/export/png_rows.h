// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelbrook {

// Compresses the pixel rows of PNG images in the form that comes out
// smallest. Of the ways of writing the pixels given, the one whose rows
// come out smallest unfiltered at zlib's default level is filtered five
// more ways (every other PNG filter for all rows, and for each row the
// filter whose bytes are smallest in sum). The smallest of those is packed
// at the default level with the filtered strategy too, then at the best
// level with whichever strategy did better and with the run-length one,
// and the smallest stream of all is kept. The compressors live as long as
// the object.
class PngRowPacker
{
public:
    PngRowPacker();
    ~PngRowPacker();
    PngRowPacker(const PngRowPacker &) = delete;
    PngRowPacker &operator=(const PngRowPacker &) = delete;

    struct Packed {
        std::size_t choice = 0;          // which of the ways of writing the pixels
        std::vector<std::uint8_t> bytes; // the zlib stream of its filtered rows; empty on failure
    };

    // Each choice holds the same `rows` rows of `rowBytes` bytes, with
    // `pixelBytes` bytes a pixel, written one way.
    Packed pack(const std::vector<std::vector<std::uint8_t>> &choices, int rowBytes, int rows, int pixelBytes);

private:
    bool deflateInto(std::size_t stream, const std::vector<std::uint8_t> &in, std::vector<std::uint8_t> &out);

    static constexpr std::size_t kStreams = 5;
    z_stream m_streams[kStreams]{};
    bool m_ready[kStreams]{};
};

} // namespace zelbrook
