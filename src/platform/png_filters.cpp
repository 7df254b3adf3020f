// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_filters.h"

#include <algorithm>
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

// The first pixel has no neighbour to its left, and the first row none
// above.
template <bool kAbove, typename Predict>
void filterBytes(const std::uint8_t *__restrict row, const std::uint8_t *__restrict above, int bytes, int pixelBytes,
                 std::uint8_t *__restrict out, Predict predict)
{
    const int first = std::min(pixelBytes, bytes);
    for (int i = 0; i < first; ++i)
        out[i] = static_cast<std::uint8_t>(row[i] - predict(0, kAbove ? above[i] : 0, 0));
    for (int i = first; i < bytes; ++i)
        out[i] = static_cast<std::uint8_t>(
            row[i] - predict(row[i - pixelBytes], kAbove ? above[i] : 0, kAbove ? above[i - pixelBytes] : 0));
}

template <typename Predict>
void filterRow(const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes, std::uint8_t *out,
               Predict predict)
{
    if (above)
        filterBytes<true>(row, above, bytes, pixelBytes, out, predict);
    else
        filterBytes<false>(row, above, bytes, pixelBytes, out, predict);
}

} // namespace

void PngFilters::apply(Type type, const std::uint8_t *row, const std::uint8_t *above, int bytes, int pixelBytes,
                       std::uint8_t *out)
{
    switch (type) {
    case None:
        std::memcpy(out, row, static_cast<std::size_t>(bytes));
        return;
    case Sub:
        return filterRow(row, above, bytes, pixelBytes, out, [](int a, int, int) { return a; });
    case Up:
        return filterRow(row, above, bytes, pixelBytes, out, [](int, int b, int) { return b; });
    case Average:
        return filterRow(row, above, bytes, pixelBytes, out, [](int a, int b, int) { return (a + b) / 2; });
    case Paeth:
        return filterRow(row, above, bytes, pixelBytes, out, [](int a, int b, int c) { return paeth(a, b, c); });
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
