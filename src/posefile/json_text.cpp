// SPDX-License-Identifier: GPL-3.0-or-later
#include "json_text.h"

#include <nlohmann/json.hpp>

namespace zelbrook {

std::string jsonText(const nlohmann::ordered_json &value, int indent)
{
    return value.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::string jsonString(std::string_view text) { return jsonText(nlohmann::ordered_json(text)); }

} // namespace zelbrook
