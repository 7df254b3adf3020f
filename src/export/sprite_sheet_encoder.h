// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/sheet_layout.h"
#include "platform/png_packer.h"
#include "platform/png_writer.h"

#include <memory>

namespace zelbrook {

// One PNG picture of all frames of an animation in a grid, row by row, with
// the cells after the last frame and the padding between cells left as the
// background, each cell's edges extruded as its layout asks: a sprite sheet
// for games. The sheet is written as it is drawn: each row of cells goes into
// the PNG stream once its last frame has come, so only one row of cells is
// ever held, however large the sheet. Frames may be ARGB32 with straight
// alpha; then the background is transparent.
//
// The sheet's colours are known at the first frame: its own, the exact
// colours and the background. Grey levels hold them when they are all
// opaque greys, a palette when they are at most 256, else grey or
// truecolour levels with alpha where the first frame has it. A later frame
// with a colour outside the palette is refused.
class SpriteSheetEncoder : public AnimationEncoder
{
public:
    // The timing's frame count decides the number of rows.
    SpriteSheetEncoder(AnimationTiming timing, ByteSink sink, SheetLayout layout, ExactColours exact = {});
    ~SpriteSheetEncoder() override;

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(const QImage &first);
    // Repeats the edge pixels of the cell whose frame lies at `at` in the
    // row outward.
    void extrude(QPoint at);
    Status writePadding();

    AnimationTiming m_timing;
    ByteSink m_sink;
    SheetLayout m_layout;
    std::size_t m_columns;
    ExactColours m_exact;
    PngPacker m_packer{PngPacker::Policy::Streamed};
    std::unique_ptr<PngWriter> m_writer;
    QImage m_row; // the row of cells being filled
    QRgb m_background = 0;
    QSize m_size;
    std::size_t m_frames = 0;
};

} // namespace zelbrook
