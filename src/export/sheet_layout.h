// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QPoint>
#include <QSize>

#include <cstddef>

namespace zelbrook {

// Where the frames of a sprite sheet lie: row by row, `columns` across,
// each cell grown by `extrude` pixels on every side (its edge pixels
// repeated outward) and `padding` pixels between the grown cells, so that
// a game engine sampling near a frame's edge never takes its neighbour's
// pixels. A frame's own rectangle is the cell inside.
struct SheetLayout {
    static constexpr int kMaximumPadding = 64;
    static constexpr int kMaximumExtrude = 8;
    static constexpr int kMaximumSide = 16384;

    int columns = 0; // as asked: 0 for the squarest grid
    int padding = 0;
    int extrude = 0;

    // The columns the sheet has: `columns`, no more than there are frames,
    // or the smallest number whose square holds every frame.
    std::size_t columnsFor(std::size_t frameCount) const;
    // The top left corner of frame `index`'s own rectangle.
    QPoint frameAt(std::size_t index, std::size_t frameCount, QSize frame) const;
    // The whole sheet, without padding after the last column and row.
    QSize sheetSize(std::size_t frameCount, QSize frame) const;
    // Refuses a sheet with a side longer than kMaximumSide, so that a caller
    // can refuse it before drawing any frame.
    Status checkSize(QSize frame, std::size_t frameCount) const;
};

} // namespace zelbrook
