// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeline_layout.h"

#include "model/key_run.h"

#include <QPalette>
#include <QRect>

class QPainter;

namespace zelbrook {

class KeysModel;

// Paints the timeline's ruler, blocks and playhead onto a view scrolled
// `scroll` pixels along, visiting only the frames and keys that lie in the
// part being painted.
class TimelinePainter
{
public:
    static constexpr int kRulerHeight = 20;
    // The band under the pictures that shows each key's hold and in-betweens.
    static constexpr int kTimingBand = 10;
    static constexpr int kMinimumPictureHeight = 48;

    // Where the blocks lie in a viewport of this size: under the ruler, and
    // never too low for the smallest picture over the timing band.
    static QRect laneIn(QSize viewport);
    // The pictures keep the canvas's proportions, 493 by 397 pixels, at the
    // height the lane gives them.
    static QSize pictureSizeIn(const QRect &lane);
    // The lowest viewport that holds the ruler and the lane.
    static int minimumHeight();

    TimelinePainter(QPainter &painter, const TimelineLayout &layout, const QPalette &palette, int scroll);

    // The frames numbered from 1, every so many as leaves room for the
    // numbers, and a tick for each frame where they are wide enough.
    void paintRuler(const QRect &shown);
    // Each key's block in the lane: the hold filled, the in-betweens
    // hatched, the key's picture at its start, a run of keys shaded and
    // the current key framed. Only the keys shown are asked for their
    // pictures and whether they are current.
    void paintBlocks(const QRect &shown, const QRect &lane, const KeysModel &keys, KeyRun run);
    void paintPlayhead(std::size_t frame, int height);

private:
    // The width a frame's number takes, with space around it.
    int numberRoom() const;
    int labelStep() const;
    void paintBlock(std::size_t key, const QRect &lane, const KeysModel &keys);
    int x(std::size_t frame) const { return m_layout.frameX(frame) - m_scroll; }

    QPainter &m_painter;
    const TimelineLayout &m_layout;
    const QPalette &m_palette;
    int m_scroll;
};

} // namespace zelbrook
