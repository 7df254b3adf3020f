// SPDX-License-Identifier: GPL-3.0-or-later
#include "typed_value.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace zelbrook {

namespace {

struct Decimal {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view withoutBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Splits [sign] digits [. digits] into its parts; empty when the text is
// anything else or has no digit at all.
std::optional<Decimal> splitDecimal(std::string_view text)
{
    Decimal number;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        number.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    number.whole = text.substr(0, point);
    if (point != std::string_view::npos)
        number.fraction = text.substr(point + 1);
    for (std::string_view part : {number.whole, number.fraction}) {
        for (char c : part) {
            if (!isDigit(c))
                return std::nullopt;
        }
    }
    if (number.whole.empty() && number.fraction.empty())
        return std::nullopt;
    return number;
}

// How many decimal places lie between the box's units and the slider's
// positions: 0 when the box shows the position, 2 for a box that shows
// hundredths of a position as whole units. Empty when the box's unit is not
// a power of ten positions.
std::optional<int> placesPerPosition(const PoseField &field)
{
    if (field.readOut == ReadOut::Position)
        return 0;
    Figure figure;
    field.assign(figure, 1.0);
    const double positions = field.position(figure);
    for (int places = 0; places <= 4; ++places) {
        if (positions == std::pow(10.0, places))
            return places;
    }
    return std::nullopt;
}

// The decimal rounded half to even to a whole number after moving the point
// the given number of places to the right; empty past any slider's reach.
std::optional<long> roundedWhole(const Decimal &number, int places)
{
    std::string digits(number.whole);
    std::string_view fraction = number.fraction;
    for (int i = 0; i < places; ++i) {
        digits += fraction.empty() ? '0' : fraction.front();
        if (!fraction.empty())
            fraction.remove_prefix(1);
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first != std::string::npos && digits.size() - first > 9)
        return std::nullopt;
    long whole = first == std::string::npos ? 0 : std::stol(digits.substr(first));
    if (!fraction.empty()) {
        const bool overHalf =
            fraction.front() > '5'
            || (fraction.front() == '5' && fraction.substr(1).find_first_not_of('0') != std::string_view::npos);
        const bool half = fraction.front() == '5' && !overHalf;
        if (overHalf || (half && whole % 2 == 1))
            ++whole;
    }
    return number.negative ? -whole : whole;
}

std::string inBoxUnits(std::int16_t position, int places)
{
    std::array<char, 32> buffer{};
    const double value = position / std::pow(10.0, places);
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    return std::string(buffer.data(), end);
}

} // namespace

Result<std::int16_t> typedPosition(const PoseField &field, std::string_view text)
{
    if (!field.hasSlider())
        return Error{std::string(field.name) + " has no slider."};
    const auto number = splitDecimal(withoutBlanks(text));
    if (!number)
        return Error{"That is not a number."};
    const auto places = placesPerPosition(field);
    if (!places)
        return Error{std::string(field.name) + " cannot be typed."};
    const SliderRange range = *field.range;
    const auto whole = roundedWhole(*number, *places);
    if (!whole || !range.contains(*whole)) {
        return Error{"The value must lie between " + inBoxUnits(range.minimum, *places) + " and "
                     + inBoxUnits(range.maximum, *places) + "."};
    }
    return static_cast<std::int16_t>(*whole);
}

} // namespace zelbrook
