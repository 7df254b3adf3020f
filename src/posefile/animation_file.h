// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/pose.h"
#include "model/result.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zelbrook {

inline constexpr std::string_view kAnimationFormat = "zelbrook-animation";
// Version 1 holds one figure in each key, version 2 a cast of figures, and
// version 3 the pinned ends and the facing of a figure in a key as well.
inline constexpr int kAnimationFileVersion = 3;
inline constexpr std::size_t kMaximumAnimationFileSize = 16 * 1024 * 1024;

// Whether a file's text is an animation rather than a pose file: its first
// character that is not blank opens a JSON object.
bool isAnimationText(std::string_view text);

// Reads a whole animation file of either version; one of version 1 is a
// cast of one black "Figure 1", id 1. A key's hip, scale and rotation
// default to those of `startPose`; every other default is the model's, and
// a cast figure's name "Figure" and its id. All or nothing: a file that
// breaks any check is refused whole, and the message says where, as
// "key 3: bodyLength is 150, outside 5 to 100", "key 3: figure 2:
// bodyLength is 150, outside 5 to 100" or "line 4, column 9: " and the
// JSON library's reason. Members this version does not know are ignored.
Result<Animation> readAnimationFile(std::string_view text, const Pose &startPose);

// The animation file text: JSON, UTF-8, every number in the shortest form
// that reads back to the very same double, ended by a line end. A cast of
// one black "Figure 1" is written as version 1, which Zelbrook read before
// there were casts; any other cast as version 2; an animation with a pinned
// end or a figure facing left as version 3.
std::string writeAnimationFile(const Animation &animation);

// A pose as a JSON object of every field but the pen, one a line, the
// members indented by `indent` and two spaces, the closing brace by `indent`.
std::string poseJsonObject(const Pose &pose, std::string_view indent);

// A figure's pinned ends as a JSON object on one line, each named as the
// end and placed as [x, y]: {"lFoot": [210, 260], "rHand": [300, 150]}.
std::string pinsJsonObject(const Figure &figure);

// A number in JSON: the shortest form that reads back to the same double;
// "null" for NaN and infinities, which JSON cannot hold, and 0 for -0.
std::string jsonNumber(double value);

} // namespace zelbrook
