// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace zelbrook {

// Where the frames and keys of an animation stand along the timeline, in
// pixels from the left end of its whole length: frame f takes the frame
// width from kLeft + f x width, and a key's block covers its hold and then
// the in-betweens played after it (the last key's only when the animation
// loops), as Animation::frames() plays them. Finding what lies under a
// point costs the same however many keys and frames there are.
class TimelineLayout
{
public:
    static constexpr int kLeft = 4;
    static constexpr int kMinimumFrameWidth = 2;
    static constexpr int kMaximumFrameWidth = 64;
    // How near the end of a block, in pixels, a press takes hold of it.
    static constexpr int kGrip = 4;

    enum class End { Hold, Tweens };
    struct Grip {
        std::size_t key;
        End end;

        friend bool operator==(const Grip &, const Grip &) = default;
    };
    enum class Half { Upper, Lower };

    struct Timing {
        int hold = 1;
        int tweens = 0;
    };

    // The keys' timings in order; `loop` says whether the last key's
    // in-betweens are played.
    void setKeys(std::vector<Timing> keys, bool loop);
    // Counts one key with other timing, as a drag shows it before it ends.
    void setTiming(std::size_t key, int hold, int tweens);
    int frameWidth() const { return m_frameWidth; }
    // Takes the width within its limits.
    void setFrameWidth(int width);

    std::size_t keyCount() const { return m_keys.size(); }
    std::size_t frameCount() const { return m_starts.back(); }
    // The whole length, with a margin at either end.
    int length() const { return frameX(frameCount()) + kLeft; }
    int frameX(std::size_t frame) const { return kLeft + static_cast<int>(frame) * m_frameWidth; }
    // The frame under x; the first or the last for an x before or after them.
    std::size_t frameAt(int x) const;
    // The key whose block lies under x, if one does.
    std::optional<std::size_t> keyAt(int x) const;
    std::size_t firstFrameOf(std::size_t key) const { return m_starts[key]; }
    int holdOf(std::size_t key) const { return m_keys[key].hold; }
    // The in-betweens played after the key.
    int tweensOf(std::size_t key) const { return playsTweens(key) ? m_keys[key].tweens : 0; }
    // The keys whose blocks reach into the pixels from `left` to `right`,
    // the last not counted in: the first and one past the last.
    std::pair<std::size_t, std::size_t> keysWithin(int left, int right) const;
    // The end of a block that a press at x takes. Where a hold ends and no
    // in-between follows, the upper half of the block takes the hold and
    // the lower half the in-betweens, when the key has any to play.
    std::optional<Grip> gripAt(int x, Half half) const;
    // The hold or the in-betweens that an end dragged to x gives, within
    // the key's range of it.
    int draggedValue(Grip grip, int x) const;

private:
    std::size_t keyOfFrame(std::size_t frame) const;
    bool playsTweens(std::size_t key) const { return key + 1 < keyCount() || m_loop; }
    // The boundary between frames nearest to x.
    long boundaryAt(int x) const;
    void placeFrom(std::size_t key);

    int m_frameWidth = 12;
    bool m_loop = true;
    std::vector<Timing> m_keys;
    // The first frame of every key, and the number of frames after them.
    std::vector<std::size_t> m_starts{0};
};

} // namespace zelbrook
