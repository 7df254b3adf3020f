// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "figure.h"
#include "point.h"
#include "pose_field.h"

#include <cstdint>
#include <optional>

namespace zelbrook {

// The joints a press on the canvas can grab.
enum class Joint : std::uint8_t { Hip, Neck, LKnee, RKnee, LFoot, RFoot, LElbow, RElbow, LHand, RHand };

// The joints a dragged segment turns about.
enum class Pivot : std::uint8_t { Hip, Shoulder, LKnee, RKnee, LElbow, RElbow };

// What dragging a joint changes: the field of the segment that ends in it,
// turned about the joint the segment starts from. The hip moves the whole
// figure; its field is hipX (with hipY) and its pivot is itself.
struct JointHandle {
    FieldId field;
    Pivot pivot;
};

JointHandle jointHandle(Joint joint);

// The limb a hand or a foot ends; none for any other joint.
std::optional<Limb> limbEndingAt(Joint joint);

// With the mouse this close to the pivot, in pixels, no direction can be
// told and the value stays as it is.
inline constexpr double kDragStillRadius = 2.0;

// A joint drag as it stood at the press. Points are canvas units.
struct JointDrag {
    FieldId field;
    // The figure at the press; the dragged field's value is taken from it.
    Figure atPress;
    Point pivot;
    // Directions are measured from the pivot to this point at the press.
    Point press;
};

// The slider position the dragged field takes with the mouse at mouse: its
// value at the press turned by as much as the direction from the pivot to
// the mouse has turned since the press, rounded half to even to a whole
// position, and wrapped into the slider's range by whole turns, nearer to
// positionBefore where both ends of the range fit. Empty while the mouse is
// within kDragStillRadius pixels of the pivot, or when the value cannot be
// shown; the value then stays as it is. Not for the hip.
std::optional<std::int16_t> draggedPosition(const JointDrag &drag, Point mouse, std::int16_t positionBefore);

// Where the hip goes: moved by as much as the mouse has moved since the
// press, on whole canvas units, kept on the canvas (0 to 500 across, 0 to
// 400 down).
Point draggedHip(const JointDrag &drag, Point mouse);

// The figure with the mouse at mouse, from the figure as it is now: the
// dragged field at its new position (or the hip moved), everything else as
// it is. The same figure when the value stays.
Figure draggedFigure(const JointDrag &drag, const Figure &current, Point mouse);

} // namespace zelbrook
