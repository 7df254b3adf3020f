// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_edit.h"

#include <algorithm>
#include <string>
#include <utility>

// The edits of a run of keys at once, each one step however long the run.

namespace zelbrook {

AnimationEdit AnimationEdit::insertKeys(std::size_t index, std::vector<Key> keys, std::vector<CastPlace> joining)
{
    AnimationEdit edit(Kind::InsertKeys, index);
    edit.m_keys = std::move(keys);
    edit.m_castPlaces = std::move(joining);
    return edit;
}

AnimationEdit AnimationEdit::removeKeys(const Animation &animation, std::size_t index, std::size_t count)
{
    AnimationEdit edit(Kind::RemoveKeys, index);
    const std::size_t end = std::min(index + count, animation.keyCount());
    if (index >= end)
        return edit;
    const auto first = animation.keys().begin() + static_cast<std::ptrdiff_t>(index);
    const auto last = animation.keys().begin() + static_cast<std::ptrdiff_t>(end);
    edit.m_keys.assign(first, last);
    const auto heldOutside = [&](FigureId id) {
        const auto holds = [id](const Key &key) { return key.holds(id); };
        return std::any_of(animation.keys().begin(), first, holds) || std::any_of(last, animation.keys().end(), holds);
    };
    for (std::size_t place = 0; place < animation.cast().size(); ++place) {
        const CastFigure &figure = animation.cast()[place];
        const bool heldInRun = std::any_of(first, last, [&](const Key &key) { return key.holds(figure.id); });
        if (heldInRun && !heldOutside(figure.id))
            edit.m_castPlaces.push_back({place, figure});
    }
    return edit;
}

AnimationEdit AnimationEdit::reverseKeys(std::size_t first, std::size_t last)
{
    AnimationEdit edit(Kind::ReverseKeys, first);
    edit.m_destination = last;
    return edit;
}

Status AnimationEdit::checkKeyRun(const Animation &animation) const
{
    const std::size_t count = animation.keyCount();
    const auto noSuchKey = [count](std::size_t index) {
        return Error{"there is no key " + std::to_string(index + 1) + " of " + std::to_string(count)};
    };
    switch (m_kind) {
    case Kind::InsertKeys:
        if (count + m_keys.size() > Animation::kMaximumKeys)
            return Error{"an animation has at most " + std::to_string(Animation::kMaximumKeys) + " keys"};
        if (m_index > count)
            return noSuchKey(m_index);
        return checkCastPlaces(animation, CastWay::Join);
    case Kind::RemoveKeys:
        if (m_keys.size() >= count)
            return Error{"an animation keeps at least one key"};
        if (m_index + m_keys.size() > count)
            return noSuchKey(m_index + m_keys.size() - 1);
        return checkCastPlaces(animation, CastWay::Leave);
    case Kind::ReverseKeys:
        if (m_index > m_destination || m_destination >= count)
            return noSuchKey(m_destination);
        break;
    default:
        break;
    }
    return {};
}

void AnimationEdit::performOnKeyRun(Animation &animation) const
{
    std::vector<Key> &keys = animation.m_keys;
    const auto at = keys.begin() + static_cast<std::ptrdiff_t>(m_index);
    switch (m_kind) {
    case Kind::InsertKeys:
        joinCast(animation);
        keys.insert(at, m_keys.begin(), m_keys.end());
        break;
    case Kind::RemoveKeys:
        keys.erase(at, at + static_cast<std::ptrdiff_t>(m_keys.size()));
        leaveCast(animation);
        break;
    case Kind::ReverseKeys:
        std::reverse(at, keys.begin() + static_cast<std::ptrdiff_t>(m_destination) + 1);
        break;
    default:
        break;
    }
}

} // namespace zelbrook
