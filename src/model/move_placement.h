// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "pinned_posing.h"
#include "result.h"

#include <vector>

namespace zelbrook {

// The keys of a move (a short animation of one figure) for figure `figure`
// of key `current`, placed where that figure stands: the move's first key
// takes the figure's hip, size and rotation, and every later key keeps its
// hip's offset from the first, grown and turned with it, and its own
// change of size and turn. The figure keeps its pen; the other figures of
// `current` hold still in every key. Each key keeps the move's hold,
// in-betweens and ease. The move's figure is its first key's back figure.
//
// The move faces the way the figure faces (mirrored about each key's hip,
// its steps going the other way, for a figure facing left), or the other way
// for OtherWay; its keys carry no pin of their own. A move that marks, by a
// pin, the foot that is down in any of its keys walks: each key's hip is
// placed so that the foot that was down stays where it was put down, and is
// pinned there, so that it holds still through the in-betweens; the foot
// that is down in a key (the one marked, else the lower) is pinned where it
// lands. A figure with a foot pinned in `current` goes on from that foot.
std::vector<Key> placedMove(const Animation &move, const Key &current, FigureId figure,
                            Landing landing = Landing::AsFacing);

// Whether the figure's hip stays on the stage (0 to 500 across, 0 to 400
// down, as animation files hold it) in every key of a placed move: a walk
// inserted again and again reaches the stage's edge. The first key that
// leaves it is named, counted from 1 in the move.
Status checkOnStage(const std::vector<Key> &keys, FigureId figure);

} // namespace zelbrook
