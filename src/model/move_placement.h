// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"

#include <vector>

namespace zelbrook {

// The keys of a move (a short animation of one figure) for figure `figure`
// of key `current`, placed where that figure stands: the move's first key
// takes the figure's hip, size and rotation, and every later key keeps its
// hip's offset from the first, grown and turned with it, and its own
// change of size and turn. The figure keeps its pen; the other figures of
// `current` hold still in every key. Each key keeps the move's hold,
// in-betweens and ease. The move's figure is its first key's back figure.
std::vector<Key> placedMove(const Animation &move, const Key &current, FigureId figure);

} // namespace zelbrook
