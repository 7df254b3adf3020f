// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelbrook {

// The text as a terminal or a message box shows it safely: printable UTF-8
// stays as it is, and every other byte (control characters, bidirectional
// controls, bytes that are not UTF-8) becomes \xNN. Past `limit` characters the text is cut and "…"
// ends it; a character is a printable UTF-8 sequence or one escaped byte.
std::string printableText(std::string_view text, std::size_t limit = std::string_view::npos);

} // namespace zelbrook
