// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"

#include <array>
#include <vector>

struct GifFileType;

namespace zelbrook {

// An animated GIF of grey frames that decodes to exactly their pixels. The
// global colour table holds the first frame's greys; a frame that needs
// others brings a table of its own. Every frame after the first is only the
// rectangle that changed, drawn over the frame before, with the pixels that
// did not change in it transparent where a spare index allows.
class GifEncoder : public AnimationEncoder
{
public:
    GifEncoder(AnimationTiming timing, ByteSink sink);
    ~GifEncoder() override;
    GifEncoder(const GifEncoder &) = delete;
    GifEncoder &operator=(const GifEncoder &) = delete;

    // Refuses a rate no GIF can play: delays are whole hundredths of a
    // second, and browsers slow down delays shorter than two.
    static Status checkRate(int fps);

    // The greys of a colour table, each with its index.
    struct GreyTable {
        std::array<int, 256> indexOf;
        int count = 0;
        int transparent = -1; // the spare index, or -1 when all 256 are used
    };

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    static int writeBytes(GifFileType *gif, const unsigned char *bytes, int length);
    Status start(const QImage &frame);
    Status writeFrame(const QImage &frame, QRect area);
    Status writeControl(int transparent);
    Status failure(int giflibError);

    AnimationTiming m_timing;
    ByteSink m_sink;
    GifFileType *m_gif = nullptr;
    Status m_written;
    bool m_discarding = false;
    QImage m_previous;
    std::size_t m_frames = 0;
    GreyTable m_global;
    std::vector<unsigned char> m_indices;
};

} // namespace zelbrook
