// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"

namespace zelbrook {

// One PNG picture of all frames of an animation in a grid, row by row, with
// the cells after the last frame white: a sprite sheet for games.
class SpriteSheetEncoder : public AnimationEncoder
{
public:
    static constexpr int kMaximumSide = 16384;

    // `columns` 0 asks for the smallest number whose square holds every
    // frame, and more columns than frames give one row of every frame. The
    // timing's frame count decides the number of rows.
    SpriteSheetEncoder(AnimationTiming timing, ByteSink sink, int columns);

    // The columns a sheet has for the given request.
    static std::size_t columnsFor(std::size_t frameCount, int columns);
    // Refuses a sheet with a side longer than kMaximumSide, so that a caller
    // can refuse it before drawing any frame.
    static Status checkSize(QSize frame, std::size_t frameCount, int columns);

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    AnimationTiming m_timing;
    ByteSink m_sink;
    std::size_t m_columns;
    QImage m_sheet;
    QSize m_size;
    std::size_t m_frames = 0;
};

} // namespace zelbrook
