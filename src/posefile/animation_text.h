// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// An animation file's text before and around its JSON: its encoding, and the
// places and reasons of the JSON parser's refusals.

namespace zelbrook {

// "UTF-16" or "UTF-32" for text in either, told by its byte-order mark or,
// without one, by the zero bytes around its first character, which JSON
// keeps in ASCII; none for anything else.
std::optional<std::string_view> wideEncodingOf(std::string_view text);

// The text without UTF-8's byte-order mark, if it starts with one.
std::string_view withoutByteOrderMark(std::string_view text);

// "line 4, column 9: ", both counted from 1, of the byte at `offset`.
std::string placeInText(std::string_view text, std::size_t offset);

// The parser's refusal at `position`, the count of bytes it had read: the
// place of the last of them and the library's reason, with the text it
// quotes escaped and cut to 40 characters.
Error syntaxRefusal(std::string_view text, std::size_t position, const std::string &lastRead,
                    const nlohmann::detail::exception &error);

} // namespace zelbrook
