// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"

struct WebPAnimEncoder;

namespace zelbrook {

// A lossless animated WebP: frame k (from 0) starts at round(1000k / fps)
// milliseconds. The library may merge equal frames into one longer one, and
// it puts the file together only at the end, so the bytes reach the sink
// when the animation is finished.
class WebpEncoder : public AnimationEncoder
{
public:
    WebpEncoder(AnimationTiming timing, ByteSink sink);
    ~WebpEncoder() override;
    WebpEncoder(const WebpEncoder &) = delete;
    WebpEncoder &operator=(const WebpEncoder &) = delete;

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(QSize size);
    Status failure(const char *doing);

    AnimationTiming m_timing;
    ByteSink m_sink;
    WebPAnimEncoder *m_encoder = nullptr;
    QSize m_size;
    std::size_t m_frames = 0;
};

} // namespace zelbrook
