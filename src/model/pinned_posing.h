// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "limb.h"
#include "point.h"

namespace zelbrook {

// What a change of a figure with pinned ends makes of it. A change that
// touches the pins or the facing is taken as it is. Otherwise each pinned
// limb whose own angles the change moved, its end leaving the pin, is
// unpinned; every other pinned limb is solved to reach its pin again, bent
// to the side it bends, or towards the way the figure faces when straight.
Figure keptAtPins(const Figure &before, const Figure &after);

// Each pinned end re-pinned where the pose now puts it.
Figure withPinsAtEnds(const Figure &figure);

// The end pinned where it is, or freed.
Figure pinnedAt(const Figure &figure, Limb end);
Figure unpinned(const Figure &figure, Limb end);

// The limb reaching for `at`, bent to the side it bends (towards the way the
// figure faces when straight), its two angles on whole slider steps; a place
// out of reach stretches it straight towards it. A pinned end is pinned
// where it lands.
Figure reachedFigure(const Figure &figure, Limb end, Point at);

// Which way a pose from the shelf, a pasted pose or an opened pose file
// lands: the way the figure faces, or the other way.
enum class Landing { AsFacing, OtherWay };

// The figure taking `pose` as a pose file's pose is synced into the sliders
// (see syncedFigure), facing as it faced, with no pin: mirrored about its
// hip where it faces left, and the other way round for OtherWay.
Figure landedFigure(const Figure &current, const Pose &pose, Landing landing);

} // namespace zelbrook
