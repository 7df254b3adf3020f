// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <nlohmann/json_fwd.hpp>

#include <string>
#include <string_view>

namespace zelbrook {

// Every JSON text the program writes comes from here. JSON text is UTF-8, so
// each byte of a string that is not part of valid UTF-8 (a name taken from a
// file name, which is bytes) is written as U+FFFD; valid text is written as
// it is, with only quotes, backslashes and control characters escaped.
// `indent` is as nlohmann's dump() takes it: -1 writes one line.
std::string jsonText(const nlohmann::ordered_json &value, int indent = -1);
// The text with its quotes, as a JSON string.
std::string jsonString(std::string_view text);

} // namespace zelbrook
