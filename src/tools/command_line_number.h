// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace zelbrook {

// A finite decimal number such as "1.5", "-2" or "+3e-1": at most one sign,
// at its start, and nothing before or after the number.
std::optional<double> finiteNumber(std::string_view text);

// A whole number in decimal digits, with an optional sign, from minimum to
// maximum.
std::optional<int> wholeNumber(std::string_view text, int minimum, int maximum);

} // namespace zelbrook
