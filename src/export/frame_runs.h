// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace zelbrook {

// A picture shown for frames first to end - 1 (counted from 0).
struct FrameRun {
    QImage picture;
    std::size_t first = 0;
    std::size_t end = 0;
};

// Folds each frame equal to the one before into the run it continues; a run
// is handed out once a different frame (or the end) shows it is complete.
class FrameRuns
{
public:
    // The run this frame completes, if the frame starts a new one.
    std::optional<FrameRun> add(const QImage &frame);
    // The last run; nothing before the first frame.
    std::optional<FrameRun> finish();
    std::size_t frames() const { return m_frames; }

private:
    std::optional<FrameRun> m_open;
    std::size_t m_frames = 0;
};

// A run's length in units split into pieces of at most `longest` units,
// all of about one length, so that none is shorter than the rest.
std::vector<std::int64_t> splitLength(std::int64_t length, std::int64_t longest);

// The frame as straight-alpha ARGB32 with every fully transparent pixel 0,
// so that equal pictures have equal pixels; opaque frames are 0xFFrrggbb.
QImage withStraightAlpha(const QImage &frame);

} // namespace zelbrook
