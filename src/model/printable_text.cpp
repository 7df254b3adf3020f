// SPDX-License-Identifier: GPL-3.0-or-later
#include "printable_text.h"

namespace zelbrook {

namespace {

// The length of the printable UTF-8 sequence that starts the text, or 0: no
// overlong forms, no surrogates, nothing past U+10FFFF, and no control
// characters, which a terminal would act on.
std::size_t printableSequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return lead < 0x20 || lead == 0x7F ? 0 : 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length)
        return 0;
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high || (lead == 0xC2 && byte(1) < 0xA0))
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
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
