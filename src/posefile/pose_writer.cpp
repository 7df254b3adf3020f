// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_writer.h"

#include "model/pose_field.h"

#include <array>
#include <cassert>
#include <charconv>
#include <cmath>

namespace zelbrook {

std::string formatPoseNumber(double value)
{
    if (value == 0)
        return "0";
    // The longest text is a whole number near the largest double: a sign and
    // 309 digits.
    std::array<char, 320> buffer;
    char *const first = buffer.data();
    char *const last = first + buffer.size();
    const bool whole = std::isfinite(value) && std::trunc(value) == value;
    const std::to_chars_result result =
        whole ? std::to_chars(first, last, value, std::chars_format::fixed) : std::to_chars(first, last, value);
    assert(result.ec == std::errc());
    return std::string(first, result.ptr);
}

std::string writePoseFile(const Pose &pose)
{
    std::string text = formatPoseNumber(kPoseFileTag);
    const Figure figure{pose};
    for (const PoseField *field : fileFields()) {
        text += ',';
        text += formatPoseNumber(field->value(figure));
    }
    text += "\r\n";
    return text;
}

} // namespace zelbrook
