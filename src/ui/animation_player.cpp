// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_player.h"

namespace zelbrook {

AnimationPlayer::AnimationPlayer(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AnimationPlayer::showDueFrame);
}

std::size_t AnimationPlayer::framesDueAfter(qint64 milliseconds, int fps)
{
    return static_cast<std::size_t>(milliseconds * fps / 1000);
}

// Rounded up, so that the timer never fires before the frame is due.
qint64 AnimationPlayer::dueTimeOf(std::size_t frames, int fps)
{
    return (static_cast<qint64>(frames) * 1000 + fps - 1) / fps;
}

void AnimationPlayer::play(const Animation &animation, std::size_t firstFrame)
{
    stop();
    m_animation = animation;
    m_frames = m_animation.frames();
    if (m_frames.size() < 2)
        return;
    m_first = std::min(firstFrame, m_frames.size() - 1);
    m_playing = true;
    m_clock.start();
    showDueFrame();
}

void AnimationPlayer::stop()
{
    if (!m_playing)
        return;
    m_playing = false;
    m_timer.stop();
    emit stopped();
}

void AnimationPlayer::showDueFrame()
{
    const int fps = m_animation.playback().fps;
    const std::size_t due = framesDueAfter(m_clock.elapsed(), fps);
    const std::size_t frame = m_first + due;
    if (frame >= m_frames.size() && !m_animation.playback().loop) {
        stop();
        return;
    }
    m_index = frame % m_frames.size();
    m_scene = m_animation.sceneAt(m_frames[m_index]);
    emit frameShown();
    if (m_playing)
        m_timer.start(static_cast<int>(std::max<qint64>(0, dueTimeOf(due + 1, fps) - m_clock.elapsed())));
}

} // namespace zelbrook
