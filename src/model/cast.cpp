// SPDX-License-Identifier: GPL-3.0-or-later
#include "cast.h"

#include "utf8_text.h"

#include <algorithm>

namespace zelbrook {

namespace {

bool isTaken(std::string_view name, const std::vector<CastFigure> &cast)
{
    return std::ranges::any_of(cast, [name](const CastFigure &figure) { return figure.name == name; });
}

// The first `count` characters of UTF-8 text.
std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at < text.size(); ++i)
        at += firstUtf8Character(text.substr(at)).value_or(Utf8Character{0, 1}).length;
    return text.substr(0, at);
}

} // namespace

std::string defaultFigureName(FigureId id) { return "Figure " + std::to_string(id); }

Status checkFigureName(std::string_view name)
{
    if (name.empty())
        return Error{"the name is empty"};
    std::size_t characters = 0;
    for (std::size_t at = 0; at < name.size(); ++characters) {
        const std::optional<Utf8Character> character = firstUtf8Character(name.substr(at));
        if (!character)
            return Error{"the name is not UTF-8 text"};
        if (isControlCharacter(character->code))
            return Error{"the name holds a control character"};
        at += character->length;
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
