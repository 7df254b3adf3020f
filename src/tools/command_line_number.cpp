// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/command_line_number.h"

#include <charconv>
#include <cmath>

namespace zelbrook {

namespace {

// from_chars takes a minus sign but no plus sign, so a plus is taken off
// first; what follows it may not be a sign again.
std::optional<std::string_view> withoutPlus(std::string_view text)
{
    if (text.starts_with('+')) {
        text.remove_prefix(1);
        if (text.starts_with('-') || text.starts_with('+'))
            return std::nullopt;
    }
    return text;
}

} // namespace

std::optional<double> finiteNumber(std::string_view given)
{
    const std::optional<std::string_view> text = withoutPlus(given);
    if (!text)
        return std::nullopt;
    double value = 0.0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(std::string_view given, int minimum, int maximum)
{
    const std::optional<std::string_view> text = withoutPlus(given);
    if (!text)
        return std::nullopt;
    int value = 0;
    const auto result = std::from_chars(text->data(), text->data() + text->size(), value);
    if (result.ec != std::errc() || result.ptr != text->data() + text->size() || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

} // namespace zelbrook
