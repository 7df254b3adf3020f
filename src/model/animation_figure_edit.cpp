// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_edit.h"

#include <algorithm>
#include <string>

// The edits of the cast and of the figures in keys.

namespace zelbrook {

namespace {

std::string figureName(FigureId id) { return "figure " + std::to_string(id); }

Error noSuchFigure(FigureId id) { return {"there is no " + figureName(id)}; }

std::string keyName(std::size_t index) { return "key " + std::to_string(index + 1); }

} // namespace

AnimationEdit AnimationEdit::changeFigure(const Animation &animation, std::size_t index, FigureId id,
                                          const Figure &after)
{
    AnimationEdit edit(Kind::ChangeFigure, index);
    edit.m_figure = id;
    const KeyFigure *before = index < animation.keyCount() ? animation.key(index).find(id) : nullptr;
    edit.m_figureBefore = before ? before->figure : after;
    edit.m_figureAfter = after;
    return edit;
}

AnimationEdit AnimationEdit::changeFigures(const Animation &animation, FigureId id, std::vector<FigurePlacement> after)
{
    AnimationEdit edit(Kind::ChangeFigures, after.empty() ? 0 : after.front().key);
    edit.m_figure = id;
    for (const FigurePlacement &placement : after) {
        const KeyFigure *before =
            placement.key < animation.keyCount() ? animation.key(placement.key).find(id) : nullptr;
        edit.m_placementsBefore.push_back({placement.key, before ? before->figure : placement.figure});
    }
    edit.m_placements = std::move(after);
    return edit;
}

AnimationEdit AnimationEdit::addFigure(const CastPlace &figure, std::vector<FigurePlacement> placements)
{
    AnimationEdit edit = placeFigure(figure.figure.id, std::move(placements));
    edit.m_castPlaces = {figure};
    return edit;
}

AnimationEdit AnimationEdit::placeFigure(FigureId id, std::vector<FigurePlacement> placements)
{
    AnimationEdit edit(Kind::PlaceFigure, placements.empty() ? 0 : placements.front().key);
    edit.m_figure = id;
    edit.m_placements = std::move(placements);
    return edit;
}

AnimationEdit AnimationEdit::removeFigure(const Animation &animation, FigureId id, std::size_t from)
{
    AnimationEdit edit(Kind::RemoveFigure, from);
    edit.m_figure = id;
    for (std::size_t index = from; index < animation.keyCount(); ++index) {
        if (const KeyFigure *figure = animation.key(index).find(id))
            edit.m_placements.push_back({index, figure->figure});
    }
    const auto heldEarlier = std::ranges::any_of(
        animation.keys().begin(),
        animation.keys().begin() + static_cast<std::ptrdiff_t>(std::min(from, animation.keyCount())),
        [id](const Key &key) { return key.holds(id); });
    if (const auto place = animation.drawingPlace(id); place && !heldEarlier)
        edit.m_castPlaces = {{*place, animation.cast()[*place]}};
    return edit;
}

AnimationEdit AnimationEdit::moveFigure(std::size_t from, std::size_t to) { return move(Kind::MoveFigure, from, to); }

AnimationEdit AnimationEdit::changeCastFigure(const Animation &animation, const CastFigure &after)
{
    const auto place = animation.drawingPlace(after.id);
    AnimationEdit edit(Kind::ChangeCastFigure, place.value_or(animation.cast().size()));
    edit.m_figure = after.id;
    edit.m_castBefore = place ? animation.cast()[*place] : after;
    edit.m_castAfter = after;
    return edit;
}

// Figures join the cast from the back and leave it from the front, so each
// place is that of the cast as it then is.
Status AnimationEdit::checkCastPlaces(const Animation &animation, CastWay way) const
{
    const std::size_t size = animation.cast().size();
    for (std::size_t i = 0; i < m_castPlaces.size(); ++i) {
        const CastPlace &entry = m_castPlaces[i];
        const bool fits = way == CastWay::Join ? entry.place <= size + i
                                               : entry.place < size && animation.cast()[entry.place] == entry.figure;
        if (!fits || (i > 0 && entry.place <= m_castPlaces[i - 1].place))
            return noSuchFigure(entry.figure.id);
        if (way == CastWay::Join && animation.castFigure(entry.figure.id))
            return Error{figureName(entry.figure.id) + " is in the cast already"};
    }
    return {};
}

Status AnimationEdit::checkPlacements(const Animation &animation, CastWay way) const
{
    if (way == CastWay::Join && m_castPlaces.empty() && !animation.castFigure(m_figure))
        return noSuchFigure(m_figure);
    for (std::size_t i = 0; i < m_placements.size(); ++i) {
        const std::size_t index = m_placements[i].key;
        if (index >= animation.keyCount() || (i > 0 && index <= m_placements[i - 1].key))
            return Error{"there is no key " + std::to_string(index + 1) + " of "
                         + std::to_string(animation.keyCount())};
        const Key &key = animation.key(index);
        if (way == CastWay::Join && key.holds(m_figure))
            return Error{keyName(index) + " holds " + figureName(m_figure) + " already"};
        if (way == CastWay::Leave && !key.holds(m_figure))
            return Error{keyName(index) + " has no " + figureName(m_figure)};
        if (way == CastWay::Leave && key.figures.size() == 1)
            return Error{figureName(m_figure) + " is the only figure of " + keyName(index)};
    }
    return {};
}

Status AnimationEdit::checkFigureIndexes(const Animation &animation) const
{
    const std::size_t size = animation.cast().size();
    switch (m_kind) {
    case Kind::ChangeFigure:
        if (m_index >= animation.keyCount() || !animation.key(m_index).holds(m_figure))
            return Error{"there is no " + figureName(m_figure) + " in " + keyName(m_index)};
        break;
    case Kind::ChangeFigures:
        for (const FigurePlacement &placement : m_placements) {
            if (placement.key >= animation.keyCount() || !animation.key(placement.key).holds(m_figure))
                return Error{"there is no " + figureName(m_figure) + " in " + keyName(placement.key)};
        }
        break;
    case Kind::PlaceFigure:
        if (Status places = checkCastPlaces(animation, CastWay::Join); !places)
            return places;
        return checkPlacements(animation, CastWay::Join);
    case Kind::RemoveFigure:
        if (Status placements = checkPlacements(animation, CastWay::Leave); !placements)
            return placements;
        return checkCastPlaces(animation, CastWay::Leave);
    case Kind::MoveFigure:
        if (m_index >= size || m_destination >= size)
            return Error{"there is no place " + std::to_string(std::max(m_index, m_destination) + 1)
                         + " in a drawing order of " + std::to_string(size)};
        break;
    case Kind::ChangeCastFigure:
        if (m_index >= size || animation.cast()[m_index].id != m_figure)
            return noSuchFigure(m_figure);
        break;
    default:
        break;
    }
    return {};
}

void AnimationEdit::joinCast(Animation &animation) const
{
    for (const CastPlace &entry : m_castPlaces)
        animation.m_cast.insert(animation.m_cast.begin() + static_cast<std::ptrdiff_t>(entry.place), entry.figure);
}

void AnimationEdit::leaveCast(Animation &animation) const
{
    for (auto entry = m_castPlaces.rbegin(); entry != m_castPlaces.rend(); ++entry)
        animation.m_cast.erase(animation.m_cast.begin() + static_cast<std::ptrdiff_t>(entry->place));
}

void AnimationEdit::performOnFigures(Animation &animation) const
{
    std::vector<Key> &keys = animation.m_keys;
    switch (m_kind) {
    case Kind::ChangeFigure:
        keys[m_index].find(m_figure)->figure = m_figureAfter;
        break;
    case Kind::ChangeFigures:
        for (const FigurePlacement &placement : m_placements)
            keys[placement.key].find(m_figure)->figure = placement.figure;
        break;
    case Kind::PlaceFigure:
        joinCast(animation);
        for (const FigurePlacement &placement : m_placements) {
            Key &key = keys[placement.key];
            key.figures.push_back({m_figure, placement.figure});
            animation.orderFigures(key);
        }
        break;
    case Kind::RemoveFigure:
        for (const FigurePlacement &placement : m_placements)
            std::erase_if(keys[placement.key].figures,
                          [this](const KeyFigure &figure) { return figure.id == m_figure; });
        leaveCast(animation);
        break;
    case Kind::MoveFigure: {
        auto &cast = animation.m_cast;
        const auto from = cast.begin() + static_cast<std::ptrdiff_t>(m_index);
        const auto to = cast.begin() + static_cast<std::ptrdiff_t>(m_destination);
        from < to ? std::rotate(from, from + 1, to + 1) : std::rotate(to, from, from + 1);
        for (Key &key : keys)
            animation.orderFigures(key);
        break;
    }
    case Kind::ChangeCastFigure:
        animation.m_cast[m_index] = m_castAfter;
        break;
    default:
        break;
    }
}

} // namespace zelbrook
