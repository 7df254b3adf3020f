// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/point.h"
#include "model/pose.h"

namespace zelbrook {

// The eleven joints of the figure, in the order they are computed. The hip
// is the pose's (hipX, hipY) and is not repeated here.
struct Joints {
    Point neck;
    Point headCentre;
    Point lKnee;
    Point lFoot;
    Point rKnee;
    Point rFoot;
    Point shoulder;
    Point lElbow;
    Point lHand;
    Point rElbow;
    Point rHand;
};

// Pure arithmetic in double precision; never fails. Every sum and product
// is evaluated in a fixed order and grouping, which decides the last bit.
Joints ComputeJoints(const Pose &pose);

// How far from the hip, in canvas units, any joint or the head of a pose of
// these lengths can reach: the body, the head and the longer of the legs and
// arms, scaled.
double figureReach(const Pose &pose);

} // namespace zelbrook
