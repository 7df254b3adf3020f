// SPDX-License-Identifier: GPL-3.0-or-later
#include "utf8_text.h"

namespace zelbrook {

std::optional<Utf8Character> firstUtf8Character(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return Utf8Character{lead, 1};
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length)
        return std::nullopt;
    // The second byte's range rules out overlong forms, surrogates and
    // values past U+10FFFF.
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high)
        return std::nullopt;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        code = code << 6 | (byte(i) & 0x3F);
    }
    return Utf8Character{code, length};
}

bool isControlCharacter(char32_t character)
{
    return character < 0x20 || (character >= 0x7F && character < 0xA0) || (character >= 0x202A && character <= 0x202E)
           || (character >= 0x2066 && character <= 0x2069);
}

} // namespace zelbrook
