// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "result.h"

#include <cstddef>

namespace zelbrook {

// One change to an animation, holding what it changes and no more, so that
// a history of edits costs little however many keys the animation has.
// Each edit knows its inverse: undoing is applying the inverse.
class AnimationEdit
{
public:
    enum class Kind { ChangeKey, InsertKey, RemoveKey, MoveKey, ChangePlayback };

    // The key at `index` becomes `after`: its figure, hold, tweens or ease.
    static AnimationEdit changeKey(const Animation &animation, std::size_t index, const Key &after);
    // `key` comes in at `index`, and the keys from there on move up one.
    static AnimationEdit insertKey(std::size_t index, const Key &key);
    static AnimationEdit removeKey(const Animation &animation, std::size_t index);
    // The key at `from` goes to `to`, the keys between closing up.
    static AnimationEdit moveKey(std::size_t from, std::size_t to);
    static AnimationEdit changePlayback(const Animation &animation, const Playback &after);

    Kind kind() const { return m_kind; }
    // The key the edit acts on; for a move, where the key was.
    std::size_t index() const { return m_index; }
    // Where a moved key goes.
    std::size_t destination() const { return m_destination; }
    // The key before and after a change; the key inserted or removed.
    const Key &keyBefore() const { return m_keyBefore; }
    const Key &keyAfter() const { return m_keyAfter; }
    const Playback &playbackBefore() const { return m_playbackBefore; }
    const Playback &playbackAfter() const { return m_playbackAfter; }

    // Whether applying it would leave the animation as it is.
    bool changesNothing() const;
    AnimationEdit inverse() const;

    // Changes the animation. An edit that names no key of it, removes its
    // last key, or would leave a value outside its range or too many keys or
    // frames is refused and changes nothing; the message says why, with keys
    // counted from 1.
    Status applyTo(Animation &animation) const;

private:
    explicit AnimationEdit(Kind kind, std::size_t index = 0)
        : m_kind(kind)
        , m_index(index)
    {}
    Status checkIndexes(const Animation &animation) const;
    void perform(Animation &animation) const;

    Kind m_kind;
    std::size_t m_index;
    std::size_t m_destination = 0;
    Key m_keyBefore;
    Key m_keyAfter;
    Playback m_playbackBefore;
    Playback m_playbackAfter;
};

} // namespace zelbrook
