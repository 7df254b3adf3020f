// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zelbrook {

// The five filters a PNG row may take. Each stores a byte less what its
// neighbours predict: the byte a pixel to the left (a), the one above (b)
// and the one above and to the left (c).
class PngFilters
{
public:
    enum Type : std::uint8_t { None, Sub, Up, Average, Paeth };
    static constexpr int kTypes = 5;

    // Filters `bytes` bytes of `row` into `out`, which is apart from it;
    // `above` is the row above, unfiltered, or null for the first row.
    static void apply(Type type, const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes,
                      std::uint8_t *out);
    // The sum of the filtered bytes taken as signed: small where the filter
    // predicts well, the weight by which each row chooses its own filter.
    static int weight(const std::uint8_t *filtered, int bytes);
    // The one filter of every row of a fast packed image: none where a
    // pixel is one or two bytes, whose runs compress well as they are; sub
    // beyond, which turns a run of one colour into zeros.
    static Type fastType(int pixelBytes) { return pixelBytes >= 3 ? Sub : None; }
};

} // namespace zelbrook
