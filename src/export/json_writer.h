// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/cast.h"
#include "model/pose.h"

#include <span>
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
    // The figure's object with "pins" ({"lFoot": [x, y], ...}) after the
    // pen where an end is pinned, and "facing": "left" where it faces left.
    static std::string figure(const Figure &figure);
    // The figure's object with its "id", "name" and "color" ("#rrggbb")
    // first.
    static std::string sceneFigure(const SceneFigure &figure);
    // {"figures": [...]}, each figure's object in drawing order.
    static std::string scene(std::span<const SceneFigure> scene);

    // The shortest text that reads back to the same double. A value that is
    // not finite, which JSON cannot hold, is written as null.
    static std::string number(double value);
};

} // namespace zelbrook
