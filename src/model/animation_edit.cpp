// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_edit.h"

#include <algorithm>
#include <string>
#include <utility>

namespace zelbrook {

namespace {

Error noSuchKey(std::size_t index, std::size_t count)
{
    return {"there is no key " + std::to_string(index + 1) + " of " + std::to_string(count)};
}

} // namespace

AnimationEdit AnimationEdit::changeKey(const Animation &animation, std::size_t index, const Key &after)
{
    AnimationEdit edit(Kind::ChangeKey, index);
    edit.m_keyBefore = index < animation.keyCount() ? animation.key(index) : after;
    edit.m_keyAfter = after;
    return edit;
}

AnimationEdit AnimationEdit::insertKey(std::size_t index, const Key &key)
{
    AnimationEdit edit(Kind::InsertKey, index);
    edit.m_keyAfter = key;
    return edit;
}

AnimationEdit AnimationEdit::removeKey(const Animation &animation, std::size_t index)
{
    AnimationEdit edit(Kind::RemoveKey, index);
    if (index >= animation.keyCount())
        return edit;
    edit.m_keyBefore = animation.key(index);
    const auto heldElsewhere = [&](FigureId id) {
        for (std::size_t other = 0; other < animation.keyCount(); ++other) {
            if (other != index && animation.key(other).holds(id))
                return true;
        }
        return false;
    };
    for (std::size_t place = 0; place < animation.cast().size(); ++place) {
        const CastFigure &figure = animation.cast()[place];
        if (edit.m_keyBefore.holds(figure.id) && !heldElsewhere(figure.id))
            edit.m_castPlaces.push_back({place, figure});
    }
    return edit;
}

AnimationEdit AnimationEdit::moveKey(std::size_t from, std::size_t to) { return move(Kind::MoveKey, from, to); }

AnimationEdit AnimationEdit::move(Kind kind, std::size_t from, std::size_t to)
{
    AnimationEdit edit(kind, from);
    edit.m_destination = to;
    return edit;
}

AnimationEdit AnimationEdit::changePlayback(const Animation &animation, const Playback &after)
{
    AnimationEdit edit(Kind::ChangePlayback);
    edit.m_playbackBefore = animation.playback();
    edit.m_playbackAfter = after;
    return edit;
}

bool AnimationEdit::changesNothing() const
{
    switch (m_kind) {
    case Kind::ChangeKey:
        return m_keyBefore == m_keyAfter;
    case Kind::MoveKey:
        return m_index == m_destination;
    case Kind::ChangePlayback:
        return m_playbackBefore == m_playbackAfter;
    case Kind::ChangeFigure:
        return m_figureBefore == m_figureAfter;
    case Kind::MoveFigure:
        return m_index == m_destination;
    case Kind::ChangeCastFigure:
        return m_castBefore == m_castAfter;
    case Kind::ReverseKeys:
        return m_index == m_destination;
    case Kind::ChangeFigures:
        return m_placements == m_placementsBefore;
    case Kind::InsertKeys:
    case Kind::RemoveKeys:
        return m_keys.empty();
    case Kind::InsertKey:
    case Kind::RemoveKey:
    case Kind::PlaceFigure:
    case Kind::RemoveFigure:
        break;
    }
    return false;
}

AnimationEdit AnimationEdit::inverse() const
{
    AnimationEdit inverse = *this;
    std::swap(inverse.m_keyBefore, inverse.m_keyAfter);
    std::swap(inverse.m_playbackBefore, inverse.m_playbackAfter);
    std::swap(inverse.m_figureBefore, inverse.m_figureAfter);
    std::swap(inverse.m_castBefore, inverse.m_castAfter);
    switch (m_kind) {
    case Kind::InsertKey:
        inverse.m_kind = Kind::RemoveKey;
        break;
    case Kind::RemoveKey:
        inverse.m_kind = Kind::InsertKey;
        break;
    case Kind::PlaceFigure:
        inverse.m_kind = Kind::RemoveFigure;
        break;
    case Kind::RemoveFigure:
        inverse.m_kind = Kind::PlaceFigure;
        break;
    case Kind::InsertKeys:
        inverse.m_kind = Kind::RemoveKeys;
        break;
    case Kind::RemoveKeys:
        inverse.m_kind = Kind::InsertKeys;
        break;
    case Kind::MoveKey:
    case Kind::MoveFigure:
        std::swap(inverse.m_index, inverse.m_destination);
        break;
    case Kind::ChangeFigures:
        std::swap(inverse.m_placementsBefore, inverse.m_placements);
        break;
    case Kind::ChangeKey:
    case Kind::ChangePlayback:
    case Kind::ChangeFigure:
    case Kind::ChangeCastFigure:
    case Kind::ReverseKeys:
        break;
    }
    return inverse;
}

Status AnimationEdit::checkIndexes(const Animation &animation) const
{
    const std::size_t count = animation.keyCount();
    switch (m_kind) {
    case Kind::InsertKey:
        if (count >= Animation::kMaximumKeys)
            return Error{"an animation has at most " + std::to_string(Animation::kMaximumKeys) + " keys"};
        if (Status places = checkCastPlaces(animation, CastWay::Join); !places)
            return places;
        return m_index <= count ? Status{} : noSuchKey(m_index, count);
    case Kind::RemoveKey:
        if (count == 1)
            return Error{"the last key cannot be removed"};
        if (Status places = checkCastPlaces(animation, CastWay::Leave); !places)
            return places;
        [[fallthrough]];
    case Kind::ChangeKey:
        return m_index < count ? Status{} : noSuchKey(m_index, count);
    case Kind::MoveKey:
        if (m_index >= count)
            return noSuchKey(m_index, count);
        return m_destination < count ? Status{} : noSuchKey(m_destination, count);
    case Kind::ChangePlayback:
        break;
    case Kind::InsertKeys:
    case Kind::RemoveKeys:
    case Kind::ReverseKeys:
        return checkKeyRun(animation);
    default:
        return checkFigureIndexes(animation);
    }
    return {};
}

void AnimationEdit::perform(Animation &animation) const
{
    std::vector<Key> &keys = animation.m_keys;
    const auto at = keys.begin() + static_cast<std::ptrdiff_t>(m_index);
    switch (m_kind) {
    case Kind::ChangeKey:
        *at = m_keyAfter;
        break;
    case Kind::InsertKey:
        joinCast(animation);
        keys.insert(at, m_keyAfter);
        break;
    case Kind::RemoveKey:
        keys.erase(at);
        leaveCast(animation);
        break;
    case Kind::MoveKey: {
        Key moved = std::move(*at);
        keys.erase(at);
        keys.insert(keys.begin() + static_cast<std::ptrdiff_t>(m_destination), std::move(moved));
        break;
    }
    case Kind::ChangePlayback:
        animation.m_playback = m_playbackAfter;
        break;
    case Kind::InsertKeys:
    case Kind::RemoveKeys:
    case Kind::ReverseKeys:
        performOnKeyRun(animation);
        break;
    default:
        // A figure's place in a key or in the cast moves no frame.
        performOnFigures(animation);
        return;
    }
    animation.countFrames();
}

Status AnimationEdit::applyTo(Animation &animation) const
{
    if (Status valid = checkIndexes(animation); !valid)
        return valid;
    perform(animation);
    if (Status valid = animation.check(); !valid) {
        inverse().perform(animation);
        return valid;
    }
    for (const CastPlace &joined : m_castPlaces) {
        if (m_kind == Kind::InsertKey || m_kind == Kind::InsertKeys || m_kind == Kind::PlaceFigure)
            animation.m_nextFigureId = std::max(animation.m_nextFigureId, joined.figure.id + 1);
    }
    return {};
}

} // namespace zelbrook
