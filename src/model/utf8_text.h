// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace zelbrook {

// One character of UTF-8 text and the bytes it takes.
struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 0;
};

// The character that starts the text; nothing when the text is empty or its
// first bytes are not UTF-8: a stray or missing continuation byte, an
// overlong form, a surrogate, or a value past U+10FFFF.
std::optional<Utf8Character> firstUtf8Character(std::string_view text);

// Characters that act on the text around them rather than show: the C0 and
// C1 controls, DEL, and the bidirectional embeddings, overrides and isolates
// (U+202A to U+202E, U+2066 to U+2069), which can make a name read as
// another.
bool isControlCharacter(char32_t character);

} // namespace zelbrook
