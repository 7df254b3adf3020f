// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/frame_runs.h"

#include <utility>

namespace zelbrook {

std::optional<FrameRun> FrameRuns::add(const QImage &frame)
{
    std::optional<FrameRun> done;
    if (m_open && m_open->picture == frame) {
        ++m_open->end;
    } else {
        done = std::exchange(m_open, FrameRun{frame, m_frames, m_frames + 1});
    }
    ++m_frames;
    return done;
}

std::optional<FrameRun> FrameRuns::finish() { return std::exchange(m_open, std::nullopt); }

std::vector<std::int64_t> splitLength(std::int64_t length, std::int64_t longest)
{
    const std::int64_t pieces = (length + longest - 1) / longest;
    std::vector<std::int64_t> lengths;
    for (std::int64_t i = 0; i < pieces; ++i)
        lengths.push_back(length / pieces + (i < length % pieces ? 1 : 0));
    return lengths;
}

QImage withStraightAlpha(const QImage &frame)
{
    if (!frame.hasAlphaChannel())
        return frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
    QImage straight = frame.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < straight.height(); ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(straight.scanLine(y));
        for (int x = 0; x < straight.width(); ++x)
            if (qAlpha(pixels[x]) == 0)
                pixels[x] = 0;
    }
    return straight;
}

} // namespace zelbrook
