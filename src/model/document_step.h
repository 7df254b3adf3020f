// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_edit.h"
#include "figure.h"

#include <cstddef>
#include <variant>

namespace zelbrook {

// A change to one key's figure: the key and its figure before and after.
struct FigureStep {
    std::size_t key;
    Figure before;
    Figure after;
};

// A change to the animation's keys or playback, and the current key before
// and after it.
struct KeyStep {
    AnimationEdit edit;
    std::size_t currentBefore;
    std::size_t currentAfter;
};

// One step of the document's history. It holds only what it changed, never
// the whole animation.
using DocumentStep = std::variant<FigureStep, KeyStep>;

} // namespace zelbrook
