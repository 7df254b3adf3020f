// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelbrook {

// The smallest LZW minimum code size of a GIF image whose largest colour
// index is `highest`: at least 2, as decoders require.
int lzwCodeSize(int highest);

// GIF's variable-width LZW code of the indices, without the code size byte
// or the sub-block lengths. Once the code table is full it is kept for as
// long as it compresses about as well as it did while filling; a clear code
// starts a new one only when it falls behind.
std::vector<std::uint8_t> lzwCode(const std::uint8_t *indices, std::size_t count, int codeSize);

// The bytes of an image's data as a GIF holds them: the code size, the code
// in sub-blocks of at most 255 bytes, and the empty block that ends them.
void appendImageData(std::vector<std::uint8_t> &out, const std::vector<std::uint8_t> &code, int codeSize);

// The number of bytes appendImageData() adds for a code this long.
std::size_t imageDataSize(std::size_t codeBytes);

} // namespace zelbrook
