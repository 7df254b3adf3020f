// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation.h"

#include "pose_field.h"

#include <numbers>
#include <string>

namespace zelbrook {

namespace {

std::string rangeError(std::string_view name, int value, SliderRange range)
{
    return std::string(name) + " is " + std::to_string(value) + ", outside " + std::to_string(range.minimum) + " to "
           + std::to_string(range.maximum);
}

// The difference brought into (-pi, pi] by whole turns; a difference of
// exactly pi stays pi.
double shorterTurn(double difference)
{
    constexpr double kPi = std::numbers::pi;
    while (difference > kPi)
        difference -= 2 * kPi;
    while (difference <= -kPi)
        difference += 2 * kPi;
    return difference;
}

double valueBetween(Motion motion, double from, double to, double t)
{
    switch (motion) {
    case Motion::Turn:
        return from + shorterTurn(to - from) * t;
    case Motion::Straight:
    case Motion::Whole:
        return from + (to - from) * t;
    case Motion::Held:
        break;
    }
    return from;
}

} // namespace

Animation::Animation(const Figure &figure)
    : m_keys{Key{figure}}
{}

Animation::Animation(Playback playback, std::vector<Key> keys)
    : m_playback(playback)
    , m_keys(std::move(keys))
{}

Status Animation::check() const
{
    if (!Playback::kFpsRange.contains(m_playback.fps))
        return Error{rangeError("fps", m_playback.fps, Playback::kFpsRange)};
    if (m_keys.empty() || m_keys.size() > kMaximumKeys)
        return Error{"an animation has 1 to " + std::to_string(kMaximumKeys) + " keys, not "
                     + std::to_string(m_keys.size())};
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const Key &key = m_keys[i];
        const std::string where = "key " + std::to_string(i + 1) + ": ";
        if (!Key::kHoldRange.contains(key.hold))
            return Error{where + rangeError("hold", key.hold, Key::kHoldRange)};
        if (!Key::kTweensRange.contains(key.tweens))
            return Error{where + rangeError("tweens", key.tweens, Key::kTweensRange)};
        if (!kPenWidthRange.contains(key.figure.penWidth))
            return Error{where + rangeError("penWidth", key.figure.penWidth, kPenWidthRange)};
    }
    if (const std::size_t count = frameCount(); count > kMaximumFrames)
        return Error{"the animation has " + std::to_string(count) + " frames, more than "
                     + std::to_string(kMaximumFrames)};
    return {};
}

int Animation::tweensPlayedAfter(std::size_t key) const
{
    return key + 1 < m_keys.size() || m_playback.loop ? m_keys[key].tweens : 0;
}

std::size_t Animation::frameCount() const { return firstFrameOf(m_keys.size()); }

std::size_t Animation::firstFrameOf(std::size_t key) const
{
    std::size_t frame = 0;
    for (std::size_t i = 0; i < key && i < m_keys.size(); ++i)
        frame += static_cast<std::size_t>(m_keys[i].hold) + static_cast<std::size_t>(tweensPlayedAfter(i));
    return frame;
}

std::vector<FrameRef> Animation::frames() const
{
    std::vector<FrameRef> frames;
    frames.reserve(frameCount());
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        frames.insert(frames.end(), static_cast<std::size_t>(m_keys[i].hold), FrameRef{i, 0, 0});
        const int tweens = tweensPlayedAfter(i);
        for (int step = 1; step <= tweens; ++step)
            frames.push_back({i, step, tweens});
    }
    return frames;
}

Figure Animation::figureAt(const FrameRef &frame) const
{
    const Key &from = m_keys.at(frame.key);
    if (frame.step == 0)
        return from.figure;
    const Key &to = m_keys[(frame.key + 1) % m_keys.size()];
    return inBetween(from.figure, to.figure, frame.step, frame.of, from.ease);
}

double easedTime(int step, int of, Ease ease)
{
    const double t = static_cast<double>(step) / (of + 1);
    return ease == Ease::Smooth ? t * t * (3.0 - 2.0 * t) : t;
}

Figure inBetween(const Figure &from, const Figure &to, int step, int of, Ease ease)
{
    const double t = easedTime(step, of, ease);
    Figure between = from;
    for (const PoseField &field : poseFields()) {
        // A whole-numbered value that a 16-bit field cannot hold cannot come
        // from two values that it holds, so the assignment always succeeds.
        field.assign(between, valueBetween(field.motion, field.value(from), field.value(to), t));
    }
    return between;
}

} // namespace zelbrook
