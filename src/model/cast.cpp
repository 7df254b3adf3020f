// SPDX-License-Identifier: GPL-3.0-or-later
#include "cast.h"

#include <algorithm>
#include <optional>

namespace zelbrook {

namespace {

bool isTaken(std::string_view name, const std::vector<CastFigure> &cast)
{
    return std::ranges::any_of(cast, [name](const CastFigure &figure) { return figure.name == name; });
}

// The character starting at `at`, which moves past it; nothing when the
// bytes there are not UTF-8.
std::optional<char32_t> nextCharacter(std::string_view text, std::size_t &at)
{
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    const int length = lead >= 0xf0 ? 3 : lead >= 0xe0 ? 2 : lead >= 0xc2 ? 1 : 0;
    if (length == 0 || lead > 0xf4 || at + static_cast<std::size_t>(length) > text.size())
        return std::nullopt;
    char32_t character = lead & (0x3f >> length);
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at++]);
        if ((next & 0xc0) != 0x80)
            return std::nullopt;
        character = character << 6 | (next & 0x3f);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (character < kSmallest[length] || (character >= 0xd800 && character < 0xe000) || character > 0x10ffff)
        return std::nullopt;
    return character;
}

bool isControl(char32_t character) { return character < 0x20 || (character >= 0x7f && character < 0xa0); }

// The first `count` characters of UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at < text.size(); ++i)
        (void)nextCharacter(text, at);
    return text.substr(0, std::min(at, text.size()));
}

} // namespace

std::string defaultFigureName(FigureId id) { return "Figure " + std::to_string(id); }

Status checkFigureName(std::string_view name)
{
    if (name.empty())
        return Error{"the name is empty"};
    std::size_t characters = 0;
    for (std::size_t at = 0; at < name.size(); ++characters) {
        const std::optional<char32_t> character = nextCharacter(name, at);
        if (!character)
            return Error{"the name is not UTF-8 text"};
        if (isControl(*character))
            return Error{"the name holds a control character"};
    }
    if (characters > kMaximumFigureNameLength)
        return Error{"the name is longer than " + std::to_string(kMaximumFigureNameLength) + " characters"};
    return {};
}

std::string newFigureName(FigureId id, const std::vector<CastFigure> &cast)
{
    for (FigureId number = id;; ++number) {
        if (std::string name = defaultFigureName(number); !isTaken(name, cast))
            return name;
    }
}

std::string copyFigureName(std::string_view name, const std::vector<CastFigure> &cast)
{
    std::string_view base = name;
    if (const std::size_t space = name.find_last_not_of("0123456789"); space != std::string_view::npos
                                                                       && space + 1 < name.size() && name[space] == ' '
                                                                       && isTaken(name.substr(0, space), cast))
        base = name.substr(0, space);
    for (std::size_t number = 2;; ++number) {
        const std::string suffix = ' ' + std::to_string(number);
        std::string copy(firstCharacters(base, kMaximumFigureNameLength - suffix.size()));
        copy += suffix;
        if (!isTaken(copy, cast))
            return copy;
    }
}

} // namespace zelbrook
