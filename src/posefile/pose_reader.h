// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose.h"
#include "model/result.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelbrook {

// What the program says of a file whose first item is not the pose file tag.
inline constexpr std::string_view kWrongFileType = "Wrong file type";

// The number item 1 holds, when it is one that fits 16 bits; a pose file's
// is kPoseFileTag.
std::optional<std::int16_t> readPoseFileTag(std::string_view text);

// Whether the text has a first item and it is not the pose file tag.
bool hasWrongFileType(std::string_view text);

// Reads a whole pose file text. On success returns `current` with the fields
// of items 2 to 17 replaced (hipX, hipY, scale and rotation are not in the
// file and are kept from `current`). All or nothing: a failure returns the
// error and no pose. An error's message names the item and its field, such
// as "the file ends before item 9 (rLegAngle2)", and is exactly
// kWrongFileType for a wrong tag. Items may be separated by commas or line ends and have
// blanks around them; anything after item 17 is ignored. A pose whose values
// no slider can hold is refused.
Result<Pose> readPoseFile(std::string_view text, const Pose &current);

} // namespace zelbrook
