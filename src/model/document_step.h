// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_edit.h"
#include "cast.h"
#include "figure.h"

#include <cstddef>
#include <variant>

namespace zelbrook {

// A change to one figure of one key: the key, the figure before and after,
// and which figure it is.
struct FigureStep {
    std::size_t key;
    Figure before;
    Figure after;
    FigureId figure = kFirstFigureId;
};

// A change to the animation's keys, cast or playback, and the current key
// and figure before and after it.
struct KeyStep {
    AnimationEdit edit;
    std::size_t currentBefore;
    std::size_t currentAfter;
    FigureId figureBefore = kFirstFigureId;
    FigureId figureAfter = kFirstFigureId;
};

// A change of one figure made where the playhead stood on an in-between:
// that frame became a key of its own, `made`, right after key `at.key`,
// which kept the in-betweens before it; then the change touched the new
// key. Undone, it takes both back and the playhead stands on the
// in-between again.
struct InBetweenStep {
    FrameRef at;
    // Key `at.key` as it was.
    Key split;
    // The figures the frame showed, before the change.
    Key made;
    FigureStep change;
};

// One step of the document's history. It holds only what it changed, never
// the whole animation.
using DocumentStep = std::variant<FigureStep, KeyStep, InBetweenStep>;

} // namespace zelbrook
