// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "result.h"
#include "slider_position.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelbrook {

// How an in-between's place between two keys follows its number: evenly, or
// slow at both ends.
enum class Ease : std::uint8_t { Linear, Smooth };

// One key pose of an animation: the whole figure, how many frames it is
// shown, how many in-betweens lead from it to the next key, and their ease.
struct Key {
    static constexpr SliderRange kHoldRange{1, 1000};
    static constexpr SliderRange kTweensRange{0, 1000};

    Figure figure;
    int hold = 1;
    int tweens = 0;
    Ease ease = Ease::Linear;

    friend bool operator==(const Key &, const Key &) = default;
};

// The animation's own settings, apart from its keys.
struct Playback {
    static constexpr SliderRange kFpsRange{1, 60};

    int fps = 12;
    bool loop = true;

    friend bool operator==(const Playback &, const Playback &) = default;
};

// One frame of the animation: key `key` itself (step 0), or in-between
// `step` of `of` on the way from that key to the next.
struct FrameRef {
    std::size_t key;
    int step;
    int of;

    friend bool operator==(const FrameRef &, const FrameRef &) = default;
};

// A row of key poses played at a frame rate. Each key in turn is shown for
// its hold, then its in-betweens lead to the next key; the last key's lead
// back to the first when the animation loops, and are not played when it
// does not. A single pose is an animation of one key.
class Animation
{
public:
    static constexpr std::size_t kMaximumKeys = 10000;
    static constexpr std::size_t kMaximumFrames = 100000;

    // One key of the figure, at the default settings.
    explicit Animation(const Figure &figure = {});
    Animation(Playback playback, std::vector<Key> keys);

    const Playback &playback() const { return m_playback; }
    const std::vector<Key> &keys() const { return m_keys; }
    const Key &key(std::size_t index) const { return m_keys.at(index); }
    std::size_t keyCount() const { return m_keys.size(); }

    // Whether every value lies in its range and the frames are not too many.
    // The message names the first that does not, with keys counted from 1.
    Status check() const;

    std::size_t frameCount() const;
    // Every frame in playing order.
    std::vector<FrameRef> frames() const;
    // The first frame of a key.
    std::size_t firstFrameOf(std::size_t key) const;
    // The figure a frame shows.
    Figure figureAt(const FrameRef &frame) const;

    // Only AnimationEdit changes an animation, so that every change can be
    // recorded and undone.
    friend class AnimationEdit;

private:
    // The in-betweens that follow a key when the animation plays.
    int tweensPlayedAfter(std::size_t key) const;

    Playback m_playback;
    std::vector<Key> m_keys;
};

// In-between `step` of `of` between two figures: every direction that may
// turn the whole way round takes the shorter way, the other values go
// straight, the head radius rounds to a whole number and the pen is the
// first figure's. The values are not rounded to any slider's steps.
Figure inBetween(const Figure &from, const Figure &to, int step, int of, Ease ease);

// Where in-between `step` of `of` stands from 0 (the first key) to 1 (the
// next), eased.
double easedTime(int step, int of, Ease ease);

} // namespace zelbrook
