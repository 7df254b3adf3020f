// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose_field.h"
#include "result.h"

#include <cstdint>
#include <string_view>

namespace zelbrook {

// The slider position for text typed into a field's read-out box, in the
// units the box shows: the position itself, or the stored value (0.7 for a
// head width, 1.5 for a resize). The text is a decimal number: an optional
// sign, digits and at most one period as the decimal point, with blanks
// (spaces and tabs) allowed around it. No comma, exponent, hexadecimal,
// infinity or NaN. The number is rounded half to even to a whole position,
// exactly as written, and then checked against the slider's range, so 180.4
// gives 180 and 180.6 is refused.
Result<std::int16_t> typedPosition(const PoseField &field, std::string_view text);

} // namespace zelbrook
