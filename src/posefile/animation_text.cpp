// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_text.h"

#include "animation_file.h"
#include "model/printable_text.h"

#include <algorithm>

namespace zelbrook {

namespace {

using namespace std::string_view_literals;

constexpr std::size_t kLongestQuote = 40;

// The library's reason without its own label and position.
std::string reasonOf(const nlohmann::detail::exception &error)
{
    const std::string_view what = error.what();
    const std::size_t label = what.find("] ");
    std::string_view reason = label == std::string_view::npos ? what : what.substr(label + 2);
    if (const std::size_t colon = reason.find(": ");
        reason.starts_with("parse error") && colon != std::string_view::npos)
        reason.remove_prefix(colon + 2);
    return std::string(reason);
}

} // namespace

std::optional<std::string_view> wideEncodingOf(std::string_view text)
{
    if (text.starts_with("\xFF\xFE\0\0"sv) || text.starts_with("\0\0\xFE\xFF"sv))
        return "UTF-32";
    if (text.starts_with("\xFF\xFE"sv) || text.starts_with("\xFE\xFF"sv))
        return "UTF-16";
    const auto zero = [text](std::size_t i) { return text[i] == '\0'; };
    if (text.size() >= 4 && zero(1) && zero(2) && zero(0) != zero(3))
        return "UTF-32";
    if (text.size() >= 2 && zero(0) != zero(1))
        return "UTF-16";
    return std::nullopt;
}

std::string_view withoutByteOrderMark(std::string_view text)
{
    return text.starts_with("\xEF\xBB\xBF"sv) ? text.substr(3) : text;
}

bool isAnimationText(std::string_view text)
{
    if (wideEncodingOf(text))
        return true; // the animation reader names the encoding
    text = withoutByteOrderMark(text);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

std::string placeInText(std::string_view text, std::size_t offset)
{
    const std::string_view before = text.substr(0, std::min(offset, text.size()));
    const std::size_t lineEnd = before.rfind('\n');
    const std::size_t lineStart = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    const auto line = static_cast<std::size_t>(std::ranges::count(before, '\n')) + 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(before.size() - lineStart + 1) + ": ";
}

Error syntaxRefusal(std::string_view text, std::size_t position, const std::string &lastRead,
                    const nlohmann::detail::exception &error)
{
    std::string reason = reasonOf(error);
    const std::string quoted = '\'' + lastRead + '\'';
    if (const std::size_t at = reason.find(quoted); at != std::string::npos)
        reason.replace(at, quoted.size(), '\'' + printableText(lastRead, kLongestQuote) + '\'');
    return {placeInText(text, position == 0 ? 0 : position - 1) + reason};
}

} // namespace zelbrook
