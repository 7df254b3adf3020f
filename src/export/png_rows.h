// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelbrook {

// Compresses the pixel rows of PNG images in the form that comes out
// smallest. Each way of writing the pixels is filtered six ways (every PNG
// filter for all rows, and for each row the filter whose bytes are smallest
// in sum) and each of those compressed at zlib's default level; the
// smallest is compressed again at the best level with the default, the
// filtered and the run-length strategies, and the smallest stream of all
// is kept. The compressors live as long as the object.
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

    static constexpr std::size_t kStreams = 4; // the quick one, then the best level's strategies
    z_stream m_streams[kStreams]{};
    bool m_ready[kStreams]{};
};

} // namespace zelbrook
