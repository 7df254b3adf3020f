// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose.h"

#include <cstdint>
#include <string>

namespace zelbrook {

// Item 1 of every pose file.
inline constexpr std::int16_t kPoseFileTag = 10135;

// The pose file text: the 17 items on one line separated by commas, ended by
// CR LF. hipX, hipY, scale and rotation are not part of it.
std::string writePoseFile(const Pose &pose);

// A number as the pose file writes it: a whole value as bare digits (no
// point, no exponent), any other value in the shortest form that reads back
// to the very same double; always a period, whatever the locale. Zero of
// either sign is "0". A whole value past 2^53 is written with every digit of
// the value the double holds (1e300 as 301 digits), so it reads back exactly.
// NaN and infinities, which no file can hold, come out as "nan", "inf" and
// "-inf".
std::string formatPoseNumber(double value);

} // namespace zelbrook
