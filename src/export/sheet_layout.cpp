// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sheet_layout.h"

#include "export/animation_encoder.h"

#include <algorithm>
#include <string>

namespace zelbrook {

namespace {

// A side of `count` cells of `cell` pixels, each grown and padded.
unsigned long long side(std::size_t count, int cell, const SheetLayout &layout)
{
    const auto grown = static_cast<unsigned long long>(cell) + 2ULL * static_cast<unsigned long long>(layout.extrude);
    return count * grown + (count - 1) * static_cast<unsigned long long>(layout.padding);
}

} // namespace

std::size_t SheetLayout::columnsFor(std::size_t frameCount) const
{
    // More columns than frames would only add empty cells to the one row.
    if (columns > 0)
        return std::min(static_cast<std::size_t>(columns), std::max<std::size_t>(frameCount, 1));
    std::size_t across = 1;
    while (across * across < frameCount)
        ++across;
    return across;
}

QPoint SheetLayout::frameAt(std::size_t index, std::size_t frameCount, QSize frame) const
{
    const std::size_t across = columnsFor(frameCount);
    const auto column = static_cast<int>(index % across);
    const auto row = static_cast<int>(index / across);
    return {column * (frame.width() + 2 * extrude + padding) + extrude,
            row * (frame.height() + 2 * extrude + padding) + extrude};
}

QSize SheetLayout::sheetSize(std::size_t frameCount, QSize frame) const
{
    const std::size_t across = columnsFor(frameCount);
    const std::size_t down = (frameCount + across - 1) / across;
    return {static_cast<int>(side(across, frame.width(), *this)), static_cast<int>(side(down, frame.height(), *this))};
}

Status SheetLayout::checkSize(QSize frame, std::size_t frameCount) const
{
    if (Status some = checkHasFrames(frameCount); !some)
        return some;
    const std::size_t across = columnsFor(frameCount);
    const unsigned long long width = side(across, frame.width(), *this);
    const unsigned long long height = side((frameCount + across - 1) / across, frame.height(), *this);
    if (width > kMaximumSide || height > kMaximumSide)
        return Error{"The sprite sheet would be " + std::to_string(width) + " by " + std::to_string(height)
                     + " pixels, more than 16384 on a side."};
    return {};
}

} // namespace zelbrook
