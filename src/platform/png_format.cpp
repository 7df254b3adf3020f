// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_format.h"

namespace zelbrook {

int PngFormat::bytesPerPixel() const
{
    constexpr int kBytes[] = {1, 2, 3, 4, 1};
    return kBytes[static_cast<int>(pixels)];
}

std::uint8_t PngFormat::colourType() const
{
    constexpr std::uint8_t kTypes[] = {0, 4, 2, 6, 3};
    return kTypes[static_cast<int>(pixels)];
}

} // namespace zelbrook
