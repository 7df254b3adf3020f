// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cast.h"
#include "figure.h"
#include "result.h"
#include "slider_position.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zelbrook {

// How an in-between's place between two keys follows its number: evenly, or
// slow at both ends.
enum class Ease : std::uint8_t { Linear, Smooth };

// One key pose of an animation: the figures present in it, each whole, how
// many frames it is shown, how many in-betweens lead from it to the next
// key, and their ease. An animation keeps a key's figures in the order of
// its cast.
struct Key {
    static constexpr SliderRange kHoldRange{1, 1000};
    static constexpr SliderRange kTweensRange{0, 1000};

    // A key of one figure, id 1.
    Key(const Figure &figure = {}, int hold = 1, int tweens = 0, Ease ease = Ease::Linear);
    Key(std::vector<KeyFigure> figures, int hold = 1, int tweens = 0, Ease ease = Ease::Linear);

    const KeyFigure *find(FigureId id) const;
    KeyFigure *find(FigureId id);
    bool holds(FigureId id) const { return find(id) != nullptr; }

    std::vector<KeyFigure> figures;
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

// A row of key poses of a cast of figures, played at a frame rate. Each key
// in turn is shown for its hold, then its in-betweens lead to the next key;
// the last key's lead back to the first when the animation loops, and are
// not played when it does not. A figure that both keys hold goes from one
// to the other; a figure that only one of them holds shows through that
// key's hold and not in the in-betweens. A single pose is an animation of
// one key of one figure.
class Animation
{
public:
    static constexpr std::size_t kMaximumKeys = 10000;
    static constexpr std::size_t kMaximumFrames = 100000;

    // One key of the figure, at the default settings, its cast one black
    // "Figure 1".
    explicit Animation(const Figure &figure = {});
    // The cast is every figure the keys hold, in the order first met, black
    // and named after its id.
    Animation(Playback playback, std::vector<Key> keys);
    // The cast in drawing order, back to front.
    Animation(Playback playback, std::vector<CastFigure> cast, std::vector<Key> keys);

    const Playback &playback() const { return m_playback; }
    const std::vector<CastFigure> &cast() const { return m_cast; }
    const CastFigure *castFigure(FigureId id) const;
    // Where the figure stands in the drawing order, 0 at the back.
    std::optional<std::size_t> drawingPlace(FigureId id) const;
    // The id the next new figure takes: none of the figures the animation
    // had since it was made has it.
    FigureId nextFigureId() const { return m_nextFigureId; }
    const std::vector<Key> &keys() const { return m_keys; }
    const Key &key(std::size_t index) const { return m_keys.at(index); }
    std::size_t keyCount() const { return m_keys.size(); }

    // Whether every value lies in its range, the frames are not too many and
    // the cast and the keys agree. The message names the first that does
    // not, with keys counted from 1 and figures by id.
    Status check() const;

    std::size_t frameCount() const { return m_firstFrames.back(); }
    // Every frame in playing order.
    std::vector<FrameRef> frames() const;
    // The first frame of a key; of a key past the last, frameCount().
    std::size_t firstFrameOf(std::size_t key) const;
    // frames()[frame] without building the frames, in time that grows with
    // the logarithm of the number of keys. The frame must be below
    // frameCount().
    FrameRef frameAt(std::size_t frame) const;
    // Where a frame stands in playing order; for a key, its first frame.
    std::size_t frameOf(const FrameRef &frame) const;
    // The figures a frame shows, in drawing order.
    std::vector<SceneFigure> sceneAt(const FrameRef &frame) const;
    // The figure a frame shows of an animation of one figure; of several,
    // the back figure of the frame's key, in-betweened where the next key
    // holds it too.
    Figure figureAt(const FrameRef &frame) const;

    // Only AnimationEdit changes an animation, so that every change can be
    // recorded and undone.
    friend class AnimationEdit;

private:
    // The in-betweens that follow a key when the animation plays.
    int tweensPlayedAfter(std::size_t key) const;
    Status checkCast() const;
    Status checkKeyFigures(std::size_t index, std::vector<std::size_t> &heldBy) const;
    // Puts every key's figures in drawing order and makes the next id new.
    void settleCast();
    // Puts the key's figures in drawing order.
    void orderFigures(Key &key) const;
    // Works out every key's first frame again, after a change of the keys'
    // number, order or timing or of the loop.
    void countFrames();

    Playback m_playback;
    std::vector<CastFigure> m_cast;
    std::vector<Key> m_keys;
    // The first frame of each key, and the number of frames last.
    std::vector<std::size_t> m_firstFrames;
    FigureId m_nextFigureId = kFirstFigureId + 1;
};

// In-between `step` of `of` between two figures: every direction that may
// turn the whole way round takes the shorter way, the other values go
// straight, the head radius rounds to a whole number and the pen is the
// first figure's. An end pinned in both figures at the same place (within
// 0.01 units) stays at the first figure's pin: its limb's two angles are
// solved to reach it (see solveLimb), bent to the side the first figure
// bends it, else the second, else towards the way the first faces; the
// in-between keeps that pin and no other. The values are not rounded to any
// slider's steps.
Figure inBetween(const Figure &from, const Figure &to, int step, int of, Ease ease);

// Whether the limb's end is pinned at the same place in both figures, so
// that the in-betweens solve the limb to hold it there.
bool holdsPinBetween(const Figure &from, const Figure &to, Limb limb);

// The difference of two directions brought into (-pi, pi] by whole turns:
// the shorter way round, which in-betweens take; exactly pi stays pi.
double shorterTurn(double difference);

// Where in-between `step` of `of` stands from 0 (the first key) to 1 (the
// next), eased.
double easedTime(int step, int of, Ease ease);

} // namespace zelbrook
