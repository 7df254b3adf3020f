// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/frame_runs.h"
#include "platform/png_format.h"
#include "platform/png_packer.h"
#include "platform/png_pixels.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace zelbrook {

// An animated PNG that shows every frame for exactly its time, kept as a
// fraction of a second. Its one image type is chosen at the first frame for
// the first frame's colours and the exact colours: grey levels when they
// are all opaque greys, a palette (with the transparent entries first in
// tRNS) when they are at most 256, else truecolour with alpha where the
// first frame has it. Frames may have straight alpha, kept exactly.
//
// A frame equal to the one before is not written: the one before lasts
// longer. Each later frame is the rectangle that changed, written over the
// frame before either as it is or with the unchanged pixels transparent,
// whichever compresses smaller (see PngPacker's smallest packing). After
// its time it is left, cleared to transparent or put back as it was,
// whichever makes the next frame smaller. The file's frame count comes
// before the first frame, so the frames are kept, compressed, until the
// animation is finished; the encoder refuses to finish with another number
// of frames than the timing gave.
class ApngEncoder : public AnimationEncoder
{
public:
    ApngEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact = {});

    // The longest time one frame holds, in frames of the animation.
    static constexpr std::int64_t kLongestRun = 65535;

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    void chooseFormat(const QImage &frame);
    Status writeRun(const FrameRun &run, const QImage *next);
    bool appendFrame(const QImage &picture, QRect area, std::int64_t frames, std::uint8_t dispose);
    std::optional<std::vector<std::uint8_t>> rowsOf(const QImage &picture, QRect area);
    std::optional<std::vector<std::uint8_t>> overRows(std::vector<std::uint8_t> rows, const QImage &picture,
                                                      QRect area) const;

    AnimationTiming m_timing;
    ByteSink m_sink;
    ExactColours m_exact;
    PngFormat m_format;
    std::optional<PngPixels> m_pixels;
    int m_transparent = -1; // the byte of a transparent pixel, -1 for none
    FrameRuns m_runs;
    QImage m_canvas;
    PngPacker m_packer{PngPacker::Policy::Smallest};
    QByteArray m_frames; // the frames' chunks, kept until the end
    std::uint32_t m_written = 0;
    std::uint32_t m_sequence = 0;
};

} // namespace zelbrook
