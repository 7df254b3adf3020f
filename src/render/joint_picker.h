// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "joints.h"
#include "model/figure.h"
#include "model/joint_drag.h"
#include "model/point.h"

#include <optional>

namespace zelbrook {

// A press this close to a joint, in pixels, grabs it.
inline constexpr double kGrabRadius = 6.0;

// Where a joint or a pivot lies, in canvas units, given the figure's joints.
Point jointPoint(Joint joint, const Pose &pose, const Joints &joints);
Point pivotPoint(Pivot pivot, const Pose &pose, const Joints &joints);

// Whether a point in canvas units lies inside the head outline or on it.
bool insideHead(const Pose &pose, Point point);

// The joint a press grabs, the press given in pixels from the top-left
// corner of the drawing area. The nearest joint within kGrabRadius pixels of
// the screen wins, `grabScale` being the picture's pixels to one of the
// screen's (2 at half size); at equal distance hands and feet come before
// elbows and knees, those before the neck, and the hip last. A press inside
// the head that is near no joint grabs the neck. Empty when the press grabs
// nothing.
std::optional<Joint> pickJoint(const Pose &pose, Point pressPixels, double grabScale = 1.0);

// The drag a press on a joint begins, the press in canvas units. Directions
// are measured from the press point, or from the joint itself when the press
// lies too close to the pivot to tell a direction.
JointDrag startJointDrag(Joint joint, const Figure &figure, Point press);

} // namespace zelbrook
