// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "platform/colour_palette.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace zelbrook {

// An animated PNG, each frame shown for exactly 1/fps seconds. Its one image
// type, chosen at the first frame for the first frame's colours and the
// exact colours, is grey levels when they are all grey, a palette of them
// when they are at most 256, and truecolour otherwise. Every
// frame after the first is the rectangle that changed, drawn over the frame
// before. The timing's frame count is written before the first frame, and
// the encoder refuses to finish with any other number of frames. Each
// frame's chunks go to the sink as the frame is added.
class ApngEncoder : public AnimationEncoder
{
public:
    ApngEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact = {});

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    void chooseType(const QImage &frame);
    std::optional<QByteArrayView> imageData(const QImage &frame, QRect area) const;
    QByteArray frameChunks(const QImage &frame, QRect area);
    Status send(const QByteArray &bytes);

    AnimationTiming m_timing;
    ByteSink m_sink;
    ExactColours m_exact;
    std::uint8_t m_type = 0;
    ColourPalette m_palette;
    QImage m_previous;
    std::size_t m_frames = 0;
    std::uint32_t m_sequence = 0;
};

} // namespace zelbrook
