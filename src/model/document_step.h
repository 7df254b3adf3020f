// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_edit.h"
#include "cast.h"
#include "figure.h"

#include <cstddef>
#include <variant>
#include <vector>

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

// Several changes to the animation's keys taken as one, applied in order and
// undone in reverse.
struct KeyRunStep {
    std::vector<AnimationEdit> edits;
    std::size_t currentBefore;
    std::size_t currentAfter;
    FigureId figureBefore = kFirstFigureId;
    FigureId figureAfter = kFirstFigureId;
};

// One step of the document's history. It holds only what it changed, never
// the whole animation.
using DocumentStep = std::variant<FigureStep, KeyStep, KeyRunStep>;

} // namespace zelbrook
