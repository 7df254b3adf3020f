// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_members.h"

#include "model/animation.h"
#include "model/pose.h"
#include "model/result.h"

#include <cstddef>
#include <string>

// The checks of an animation file's records, as the file gave them. Each
// message names what is wrong; the caller puts the place in front.

namespace zelbrook {

// A whole number from `lowest` to `highest`; a member that is not there
// leaves `out` as it is.
Status readWhole(const JsonValue &value, std::string_view name, int lowest, int highest, int &out);
inline Status readWhole(const JsonValue &value, std::string_view name, SliderRange range, int &out)
{
    return readWhole(value, name, range.minimum, range.maximum, out);
}

// The value as a message quotes it: text in double quotes and numbers as
// the file wrote them, escaped and cut to 40 characters.
std::string quotedValue(const JsonValue &value);

// A key's figure: its "pose" and "penWidth". The hip, scale and rotation
// default to those of `startPose`.
Result<Figure> readFigure(const FigureMembers &members, const Pose &startPose);

// The figure at `place` (from 0) of a file's cast.
Result<CastFigure> readCastFigure(const CastMembers &members, std::size_t place);

// The figure at `place` (from 0) of a version 2 key.
Result<KeyFigure> readKeyFigure(const FigureMembers &members, std::size_t place, const Pose &startPose);

// A key of either layout, without its number.
Result<Key> readKey(const KeyMembers &members, const Pose &startPose, Layout layout);

} // namespace zelbrook
