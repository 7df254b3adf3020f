// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable_text.h"

#include "utf8_text.h"

namespace zelbrook {

namespace {

// The length of the UTF-8 character that starts the text when a terminal
// shows it as it is, or 0 when it is no character or one that a terminal
// would act on.
std::size_t printableSequenceLength(std::string_view text)
{
    const std::optional<Utf8Character> character = firstUtf8Character(text);
    return character && !isControlCharacter(character->code) ? character->length : 0;
}

} // namespace

std::string printableText(std::string_view text, std::size_t limit)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string printable;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++characters) {
        if (characters == limit)
            return printable + "…";
        const std::size_t length = printableSequenceLength(text.substr(i));
        if (length > 0) {
            printable.append(text.substr(i, length));
            i += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i++]);
        printable.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
    }
    return printable;
}

} // namespace zelbrook
