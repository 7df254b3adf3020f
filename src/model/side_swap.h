// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"

namespace zelbrook {

// The figure with its sides exchanged: the left leg takes the right leg's
// directions and bend and the right leg the left's, and the arms likewise.
// Each angle is first rounded to the slider position it shows, and the
// value it takes lands on a whole position of its own slider, brought into
// the slider's range by whole turns; where both ends of a range show the
// same direction, the one nearer to the other side's position wins. So
// swapping twice gives back the same positions. Lengths, head, body, hip,
// size, rotation and pen stay, and so does a pair of angles either of which
// no position could show. Each pinned end is pinned where it now is.
Figure swapSides(const Figure &figure);

} // namespace zelbrook
