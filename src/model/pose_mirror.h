// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"

namespace zelbrook {

// The figure mirrored left to right about the vertical line through the hip.
// Each limb stays the limb it was, driven by its own sliders. Every angle is
// first rounded to the slider position it shows, then mirrored in the
// field's own degrees: the absolute directions of the body and the thighs
// become 180 minus themselves, the relative angles of the shins and arms and
// the rotation change sign, and each lands on a whole position of its slider,
// wrapped into the slider's range by whole turns. Mirroring twice gives back
// the same positions (0 and 360 being the same direction). Lengths, head,
// scale, hip and pen stay; an angle no position could show stays too. The
// figure then faces the other way, and each pinned end is pinned where it
// now is.
Figure mirrorFigure(const Figure &figure);

} // namespace zelbrook
