// SPDX-License-Identifier: GPL-3.0-or-later
#include "color.h"

#include <array>
#include <charconv>

namespace zelbrook {

std::string colorText(Color color)
{
    std::array<char, 8> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), (color & kWhite) | 0x1000000, 16).ptr;
    // The leading 1 keeps the zeros in front of the six digits.
    return "#" + std::string(digits.data() + 1, end);
}

std::optional<Color> colorFromText(std::string_view text)
{
    // from_chars would take fewer digits, so they are counted and checked
    // first.
    if (text.size() != 7 || text[0] != '#'
        || text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string_view::npos)
        return std::nullopt;
    Color color = 0;
    std::from_chars(text.data() + 1, text.data() + text.size(), color, 16);
    return color;
}

} // namespace zelbrook
