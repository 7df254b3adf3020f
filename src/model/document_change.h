// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cast.h"
#include "pose_field.h"

#include <cstddef>

namespace zelbrook {

// Why the figure changed. An edit moves what the user moved; a load brings a
// pose file in, which rewrites every synced read-out; a restore puts back an
// earlier figure exactly; a reset is the start-up figure, which leaves the
// read-outs of the fields the control sync does not touch empty.
enum class ChangeKind { Edit, Load, Restore, Reset };

struct FigureChange {
    FieldSet fields;
    ChangeKind kind;
    // Whoever asked for the change, so that it is not told again; may be null.
    const void *source;
    // Whether the figure's pins or facing changed, which no field shows.
    bool pinsOrFacing = false;
};

// What changed in the animation besides the figure on show. A change of
// the cast (a figure added, removed, brought back, moved in the drawing
// order, renamed or recoloured) is told as Cast, with the first key and the
// figure concerned. A run of keys inserted or removed is told once, with
// its first key and its length; a run turned round, with its first and
// last key. The playhead moving within the current key's frames (its hold
// and the in-betweens after it) is told as ShownFrame; its going to another
// key is told as CurrentKey.
struct AnimationChange {
    enum class What {
        KeyFigure,
        KeyTiming,
        KeyInserted,
        KeyRemoved,
        KeyMoved,
        Playback,
        CurrentKey,
        Whole,
        Cast,
        CurrentFigure,
        KeysReversed,
        ShownFrame,
    };
    What what;
    // The key concerned; for a move, where the key was.
    std::size_t key = 0;
    // Where a moved key went; the last key of a run turned round.
    std::size_t destination = 0;
    FigureId figure = kFirstFigureId;
    // How many keys were inserted or removed.
    std::size_t count = 1;
};

} // namespace zelbrook
