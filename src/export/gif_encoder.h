// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/gif_colour_table.h"

#include <vector>

struct GifFileType;

namespace zelbrook {

// An animated GIF that decodes to exactly the pixels of its frames wherever
// a frame holds at most 256 colours; past that, the colours that need not be
// exact come within 16 levels of their own (see ExactColours). The global
// colour table holds the first frame's colours; a frame that needs others
// brings a table of its own. Every frame after the first is only the
// rectangle that changed, drawn over the frame before, with the pixels that
// did not change in it transparent where a spare index allows.
class GifEncoder : public AnimationEncoder
{
public:
    GifEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact = {});
    ~GifEncoder() override;
    GifEncoder(const GifEncoder &) = delete;
    GifEncoder &operator=(const GifEncoder &) = delete;

    // Refuses a rate no GIF can play: delays are whole hundredths of a
    // second, and browsers slow down delays shorter than two.
    static Status checkRate(int fps);

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    static int writeBytes(GifFileType *gif, const unsigned char *bytes, int length);
    Status start(const QImage &frame);
    Status writeFrame(const QImage &frame, QRect area);
    Result<GifColourTable> tableOf(const QImage &frame, QRect area) const;
    Status writeControl(int transparent);
    Status failure(int giflibError);

    AnimationTiming m_timing;
    ByteSink m_sink;
    ExactColours m_exact;
    GifFileType *m_gif = nullptr;
    Status m_written;
    bool m_discarding = false;
    QImage m_previous;
    std::size_t m_frames = 0;
    std::optional<GifColourTable> m_global;
    std::vector<unsigned char> m_indices;
};

} // namespace zelbrook
