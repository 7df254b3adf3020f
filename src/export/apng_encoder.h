// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"

#include <QByteArray>

#include <cstdint>

namespace zelbrook {

// An animated PNG of grey frames, each shown for exactly 1/fps seconds. Every
// frame after the first is the rectangle that changed, drawn over the frame
// before. The timing's frame count is written before the first frame, and
// the encoder refuses to finish with any other number of frames. Each
// frame's chunks go to the sink as the frame is added.
class ApngEncoder : public AnimationEncoder
{
public:
    ApngEncoder(AnimationTiming timing, ByteSink sink);

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    QByteArray frameChunks(const QImage &frame, QRect area);
    Status send(const QByteArray &bytes);

    AnimationTiming m_timing;
    ByteSink m_sink;
    QImage m_previous;
    std::size_t m_frames = 0;
    std::uint32_t m_sequence = 0;
};

} // namespace zelbrook
