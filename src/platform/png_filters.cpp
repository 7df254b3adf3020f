// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_filters.h"

#include <cstdlib>
#include <cstring>

namespace zelbrook {

namespace {

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// From the end, so that a row filtered in place still has its left
// neighbours unfiltered.
template <typename Predict>
void filterRow(const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes, std::uint8_t *out,
               Predict predict)
{
    for (int i = bytes - 1; i >= 0; --i) {
        const bool left = i >= pixelBytes;
        const int a = left ? row[i - pixelBytes] : 0;
        const int b = above ? above[i] : 0;
        const int c = above && left ? above[i - pixelBytes] : 0;
        out[i] = static_cast<std::uint8_t>(row[i] - predict(a, b, c));
    }
}

} // namespace

void PngFilters::apply(Type type, const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes,
                       std::uint8_t *out)
{
    switch (type) {
    case None:
        if (out != row)
            std::memcpy(out, row, static_cast<std::size_t>(bytes));
        return;
    case Sub:
        return filterRow(row, above, bytes, pixelBytes, out, [](int a, int, int) { return a; });
    case Up:
        return filterRow(row, above, bytes, pixelBytes, out, [](int, int b, int) { return b; });
    case Average:
        return filterRow(row, above, bytes, pixelBytes, out, [](int a, int b, int) { return (a + b) / 2; });
    case Paeth:
        return filterRow(row, above, bytes, pixelBytes, out, paeth);
    }
}

int PngFilters::weight(const std::uint8_t *filtered, int bytes)
{
    int sum = 0;
    for (int i = 0; i < bytes; ++i)
        sum += std::abs(static_cast<int>(static_cast<std::int8_t>(filtered[i])));
    return sum;
}

} // namespace zelbrook
