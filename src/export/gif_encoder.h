// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/frame_runs.h"
#include "export/gif_colour_table.h"

#include <optional>
#include <vector>

namespace zelbrook {

// An animated GIF that decodes to exactly the pixels of its frames wherever
// a frame holds at most 256 colours; past that, the colours that need not be
// exact come within 16 levels of their own (see ExactColours). Frames may
// have alpha: a pixel is drawn when its alpha is at least 128.
//
// A frame equal to the one before is not written: the one before lasts that
// much longer, and frame k still ends at round(100k / fps) hundredths. Each
// frame is held back until the next differs, then written as the smallest
// rectangle that holds its change, in whichever of the ways GifImage tries
// codes shortest. The global table holds the first frame's colours, most
// used first; the code is our own, so that its width follows the largest
// index a frame uses.
class GifEncoder : public AnimationEncoder
{
public:
    GifEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact = {});

    // The most frames a second a GIF plays: delays are whole hundredths of
    // a second, and browsers slow down delays shorter than two.
    static constexpr int kMaximumRate = 50;
    // Refuses a rate no GIF can play.
    static Status checkRate(int fps);

    // The longest delay one GIF frame holds, in hundredths of a second.
    static constexpr std::int64_t kLongestDelay = 65535;

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(const QImage &frame);
    Status writeRun(const FrameRun &run, const QImage *next);
    void appendControl(std::int64_t delay, int transparent, int disposal);
    void appendImage(const struct GifImage &image);
    Status send();

    AnimationTiming m_timing;
    ByteSink m_sink;
    ExactColours m_exact;
    FrameRuns m_runs;
    QImage m_canvas; // what a viewer shows before the next frame is drawn
    std::optional<GifColourTable> m_global;
    int m_globalEntries = 0;
    std::vector<std::uint8_t> m_out;
};

} // namespace zelbrook
