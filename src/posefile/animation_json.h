// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/pose.h"
#include "model/result.h"

#include <nlohmann/json.hpp>

#include <vector>

// The pieces of an animation file, read from its JSON. Each message names
// what is wrong; the caller puts the place in front.

namespace zelbrook {

using Json = nlohmann::json;

// A member that is not there, or null, is none.
const Json *member(const Json &object, const char *name);

// A whole number from `lowest` to `highest`; a member that is not there
// leaves `out` as it is.
Status readWhole(const Json &object, const char *name, int lowest, int highest, int &out);
inline Status readWhole(const Json &object, const char *name, SliderRange range, int &out)
{
    return readWhole(object, name, range.minimum, range.maximum, out);
}

// A key's figure: its "pose" and "penWidth". The hip, scale and rotation
// default to those of `startPose`.
Result<Figure> readFigure(const Json &object, const Pose &startPose);

// The "figures" of a file's cast, in drawing order.
Result<std::vector<CastFigure>> readCast(const Json &root);

// The "figures" of a key, each with its id.
Result<std::vector<KeyFigure>> readKeyFigures(const Json &key, const Pose &startPose);

} // namespace zelbrook
