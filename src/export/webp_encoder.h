// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/frame_runs.h"

struct WebPAnimEncoder;

namespace zelbrook {

// A lossless animated WebP: frame k (from 0) starts at round(1000k / fps)
// milliseconds, and keeps its alpha exactly. A frame equal to the one
// before is not written: the one before lasts longer, and a still longer
// than one frame's 24-bit milliseconds is split at that length. An
// animation of one picture is still an animation, with its time and loop.
// The library puts the file together only at the end, so the bytes reach
// the sink when the animation is finished.
class WebpEncoder : public AnimationEncoder
{
public:
    WebpEncoder(AnimationTiming timing, ByteSink sink);

    // The longest time one frame holds, in milliseconds.
    static constexpr std::int64_t kLongestFrame = 0xFFFFFF;
    ~WebpEncoder() override;
    WebpEncoder(const WebpEncoder &) = delete;
    WebpEncoder &operator=(const WebpEncoder &) = delete;

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(QSize size);
    Status failure(const char *doing);
    void endRun(const FrameRun &run);

    AnimationTiming m_timing;
    ByteSink m_sink;
    WebPAnimEncoder *m_encoder = nullptr;
    QSize m_size;
    FrameRuns m_runs;                    // only to know which frames continue a run
    std::vector<std::int64_t> m_lengths; // of the runs given, in milliseconds
    std::int64_t m_timestamp = 0;        // where the next run starts for the library
    bool m_alpha = false;                // whether a frame may be transparent
};

} // namespace zelbrook
