// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_run.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

namespace zelbrook {

namespace {

const CastFigure *namedIn(const std::vector<CastFigure> &cast, const std::string &name)
{
    const auto found = std::ranges::find(cast, name, &CastFigure::name);
    return found == cast.end() ? nullptr : &*found;
}

} // namespace

Animation keyRunAnimation(const Animation &animation, KeyRun run)
{
    const auto first = animation.keys().begin() + static_cast<std::ptrdiff_t>(run.first);
    std::vector<Key> keys(first, first + static_cast<std::ptrdiff_t>(run.size()));
    std::vector<CastFigure> cast;
    for (const CastFigure &figure : animation.cast()) {
        if (std::ranges::any_of(keys, [&](const Key &key) { return key.holds(figure.id); }))
            cast.push_back(figure);
    }
    return Animation(animation.playback(), std::move(cast), std::move(keys));
}

Result<KeysToPaste> keysToPaste(const Animation &target, const Animation &source, FigureMatch match)
{
    const std::vector<CastFigure> &from = source.cast();
    // Where each figure of the source's cast goes; ids first, so that a
    // name never takes a figure an id would have matched.
    std::vector<std::optional<FigureId>> map(from.size());
    const auto matchTo = [&map](std::size_t place, const CastFigure *found) {
        if (!map[place] && found && std::ranges::count(map, std::optional(found->id)) == 0)
            map[place] = found->id;
    };
    for (std::size_t place = 0; place < from.size() && match == FigureMatch::ById; ++place)
        matchTo(place, target.castFigure(from[place].id));
    for (std::size_t place = 0; place < from.size(); ++place)
        matchTo(place, namedIn(target.cast(), from[place].name));
    KeysToPaste paste;
    std::vector<CastFigure> cast = target.cast();
    FigureId next = target.nextFigureId();
    for (std::size_t place = 0; place < from.size(); ++place) {
        if (map[place])
            continue;
        if (cast.size() >= kMaximumCastFigures)
            return Error{"the cast would have more than " + std::to_string(kMaximumCastFigures) + " figures"};
        if (next > kLastFigureId)
            return Error{"every figure id has been given"};
        const std::string &name = from[place].name;
        const CastFigure joining{next++, namedIn(cast, name) ? copyFigureName(name, cast) : name, from[place].color};
        paste.joining.push_back({cast.size(), joining});
        cast.push_back(joining);
        map[place] = joining.id;
    }
    const auto drawingPlace = [&cast](const KeyFigure &figure) {
        return std::ranges::find(cast, figure.id, &CastFigure::id) - cast.begin();
    };
    for (Key key : source.keys()) {
        for (KeyFigure &figure : key.figures)
            figure.id = *map[*source.drawingPlace(figure.id)];
        if (!std::ranges::is_sorted(key.figures, {}, drawingPlace))
            std::ranges::stable_sort(key.figures, {}, drawingPlace);
        paste.keys.push_back(std::move(key));
    }
    return paste;
}

} // namespace zelbrook
