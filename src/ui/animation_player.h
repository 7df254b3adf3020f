// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <cstddef>
#include <vector>

namespace zelbrook {

// Plays an animation's frames at its frame rate. Each frame is due at its
// own time counted from the start, so the pace does not drift however late
// a single timer fires; a late timer skips to the frame that is due.
class AnimationPlayer : public QObject
{
    Q_OBJECT

public:
    explicit AnimationPlayer(QObject *parent = nullptr);

    // Starts at the given frame; an animation that plays in one frame or
    // less has nothing to play.
    void play(const Animation &animation, std::size_t firstFrame);
    void stop();
    bool isPlaying() const { return m_playing; }

    // The frame on show while playing.
    std::size_t frameIndex() const { return m_index; }
    const FrameRef &frameRef() const { return m_frames[m_index]; }
    const std::vector<SceneFigure> &scene() const { return m_scene; }
    std::size_t frameCount() const { return m_frames.size(); }

    // How many frames on from the first are due after that many
    // milliseconds, at that many frames a second.
    static std::size_t framesDueAfter(qint64 milliseconds, int fps);
    // The milliseconds from the start at which that many frames on is due.
    static qint64 dueTimeOf(std::size_t frames, int fps);

signals:
    void frameShown();
    void stopped();

private:
    void showDueFrame();

    Animation m_animation;
    std::vector<FrameRef> m_frames;
    std::size_t m_first = 0;
    std::size_t m_index = 0;
    std::vector<SceneFigure> m_scene;
    bool m_playing = false;
    QElapsedTimer m_clock;
    QTimer m_timer;
};

} // namespace zelbrook
