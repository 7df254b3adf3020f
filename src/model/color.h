// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zelbrook {

// A colour as 0xRRGGBB; 0 is black.
using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;

// The colour as "#rrggbb", in lower case.
std::string colorText(Color color);

// The colour "#rrggbb" names, its digits in either case; nothing for any
// other text.
std::optional<Color> colorFromText(std::string_view text);

} // namespace zelbrook
