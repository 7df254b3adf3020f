#pragma once

#include "model/pose.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zelbrook {

// Why a pose file could not be read.
struct PoseFileError {
    enum class Kind { WrongFileType, EndsEarly, NotANumber, TooLarge, OutOfRange };
    Kind kind;
    // Plain words for a person, naming the item and its field, such as
    // "the file ends before item 9 (rLegAngle2)"; exactly "Wrong file type"
    // for a wrong tag.
    std::string message;
    // The tag read as item 1, when item 1 was a number that fits 16 bits.
    std::optional<std::int16_t> tag;
};

// Reads a whole pose file text. On success returns `current` with the fields
// of items 2 to 17 replaced (hipX, hipY, scale and rotation are not in the
// file and are kept from `current`). All or nothing: a failure returns the
// error and no pose. Items may be separated by commas or line ends and have
// blanks around them; anything after item 17 is ignored. A pose whose values
// no slider can hold is refused.
std::variant<Pose, PoseFileError> readPoseFile(std::string_view text, const Pose &current);

} // namespace zelbrook
