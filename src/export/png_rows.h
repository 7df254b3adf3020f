// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace zelbrook {

// Compresses the pixel rows of PNG images in the form that comes out
// smallest: every row unfiltered at zlib's best level and default strategy,
// or each row with the filter whose output is smallest in sum at the best
// level and the filtered strategy. The compressors live as long as the
// object.
class PngRowPacker
{
public:
    PngRowPacker();
    ~PngRowPacker();
    PngRowPacker(const PngRowPacker &) = delete;
    PngRowPacker &operator=(const PngRowPacker &) = delete;

    // `pixels` holds `rows` rows of `rowBytes` bytes, `pixelBytes` a pixel;
    // the result is the zlib stream of the filtered rows, empty on failure.
    std::vector<std::uint8_t> pack(const std::vector<std::uint8_t> &pixels, int rowBytes, int rows, int pixelBytes);

private:
    bool deflateInto(std::size_t strategy, const std::vector<std::uint8_t> &in, std::vector<std::uint8_t> &out);

    static constexpr std::size_t kStrategies = 2;
    z_stream m_streams[kStrategies]{};
    bool m_ready[kStrategies]{};
};

} // namespace zelbrook
