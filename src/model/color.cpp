// SPDX-License-Identifier: GPL-3.0-or-later
#include "color.h"

#include <charconv>

namespace zelbrook {

std::string colorText(Color color)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#000000";
    for (std::size_t place = 6; place > 0; --place, color >>= 4)
        text[place] = kDigits[color & 0xFu];
    return text;
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
