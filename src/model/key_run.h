// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "animation_edit.h"
#include "cast.h"
#include "result.h"

#include <cstddef>
#include <vector>

namespace zelbrook {

// The keys from `first` to `last` of an animation, both counted in.
struct KeyRun {
    std::size_t first = 0;
    std::size_t last = 0;

    std::size_t size() const { return last - first + 1; }
    friend bool operator==(const KeyRun &, const KeyRun &) = default;
};

// How pasted figures find their own in a cast: by id within the animation
// they came from, by name in another one.
enum class FigureMatch { ById, ByName };

enum class KeyOrder { AsTheyCame, Reversed };

// Keys made ready to come into an animation: their figures are the
// animation's, or the ones that join its cast with them.
struct KeysToPaste {
    std::vector<Key> keys;
    std::vector<CastPlace> joining;
};

// The run's keys as an animation of their own, with the playback of theirs
// and, in drawing order, the figures of its cast that they hold.
Animation keyRunAnimation(const Animation &animation, KeyRun run);

// The keys of `source` with each figure of its cast matched to a figure of
// `target`'s, by id when asked and then by name; a figure that finds none,
// or only one matched already, joins the cast in front under the next free
// id, with its colour and its name, or a copy's name where that is taken.
// Each key's figures are in the drawing order of the cast they come into.
// Refused when the cast would grow past its limit.
Result<KeysToPaste> keysToPaste(const Animation &target, const Animation &source, FigureMatch match);

} // namespace zelbrook
