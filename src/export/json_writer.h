// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose.h"

#include <string>

namespace zelbrook {

// The figure as data for other software: one JSON object with "pose" (every
// pose field by its name, canvas units and radians), "penWidth" (pixels),
// "joints" ("hip" and the eleven joints, each [x, y]) and "head" (the 181
// outline steps in order of t, each [[x, y], [x, y]]: first point, then
// opposite point).
class JsonWriter
{
public:
    static std::string figure(const Pose &pose, int penWidth);

    // The shortest text that reads back to the same double. A value that is
    // not finite, which JSON cannot hold, is written as null.
    static std::string number(double value);
};

} // namespace zelbrook
