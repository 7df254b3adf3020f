// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_number.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <string>

namespace zelbrook {

namespace {

// Far beyond the powers of ten a double can reach, and far from overflowing
// the arithmetic below.
constexpr long long kExponentLimit = 1'000'000'000;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

class NumberText
{
public:
    explicit NumberText(std::string_view text)
        : m_text(text)
    {}

    bool atEnd() const { return m_position == m_text.size(); }

    bool take(char c)
    {
        if (atEnd() || m_text[m_position] != c)
            return false;
        ++m_position;
        return true;
    }

    std::string_view digits()
    {
        const std::size_t start = m_position;
        while (!atEnd() && isDigit(m_text[m_position]))
            ++m_position;
        return m_text.substr(start, m_position - start);
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

long long exponentValue(std::string_view digits, bool negative)
{
    long long value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
        if (value >= kExponentLimit)
            break;
    }
    return negative ? -value : value;
}

// The power of ten of the number's leading digit; only its sign matters to the
// caller, which asks only about numbers too far from 1 for a double.
long long leadingPower(std::string_view whole, std::string_view fraction, long long exponent)
{
    const std::size_t inWhole = whole.find_first_not_of('0');
    if (inWhole != std::string_view::npos)
        return static_cast<long long>(whole.size() - 1 - inWhole) + exponent;
    const std::size_t inFraction = fraction.find_first_not_of('0');
    if (inFraction != std::string_view::npos)
        return -static_cast<long long>(inFraction) - 1 + exponent;
    return 0;
}

} // namespace

PoseNumber PoseNumber::parse(std::string_view text)
{
    NumberText number(text);
    const bool plus = number.take('+');
    const bool negative = !plus && number.take('-');
    const std::string_view whole = number.digits();
    const std::string_view fraction = number.take('.') ? number.digits() : std::string_view();
    if (whole.empty() && fraction.empty())
        return {};
    long long exponent = 0;
    if (number.take('e') || number.take('E')) {
        const bool exponentNegative = !number.take('+') && number.take('-');
        const std::string_view exponentDigits = number.digits();
        if (exponentDigits.empty())
            return {};
        exponent = exponentValue(exponentDigits, exponentNegative);
    }
    if (!number.atEnd())
        return {};

    // The text is now known to be a plain decimal number, which is all that
    // std::from_chars is left to convert; it takes no plus sign.
    const char *const first = text.data() + (plus ? 1 : 0);
    const char *const last = text.data() + text.size();
    double value = 0.0;
    const std::from_chars_result result = std::from_chars(first, last, value);
    if (result.ec == std::errc() && result.ptr == last)
        return {Status::Number, value};
    if (result.ec == std::errc::result_out_of_range) {
        if (leadingPower(whole, fraction, exponent) > 0)
            return {Status::TooLarge, 0.0};
        return {Status::Number, negative ? -0.0 : 0.0};
    }
    return {};
}

namespace {

constexpr int kMessageDigits = 10;

std::string messageNumber(double value, int digits)
{
    if (value == 0)
        return "0";
    std::array<char, 32> buffer;
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, digits);
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string outsideRangeText(double value, double lowest, double highest)
{
    const std::string low = messageNumber(lowest, kMessageDigits);
    const std::string high = messageNumber(highest, kMessageDigits);
    // A value just past an end gets the digits that tell it from that end;
    // 17 significant digits tell every two doubles apart.
    int digits = kMessageDigits;
    while (digits < 17 && (messageNumber(value, digits) == low || messageNumber(value, digits) == high))
        ++digits;
    return " is " + messageNumber(value, digits) + ", outside " + low + " to " + high;
}

} // namespace zelbrook
