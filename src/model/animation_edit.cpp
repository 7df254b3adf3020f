// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_edit.h"

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
    if (index < animation.keyCount())
        edit.m_keyBefore = animation.key(index);
    return edit;
}

AnimationEdit AnimationEdit::moveKey(std::size_t from, std::size_t to)
{
    AnimationEdit edit(Kind::MoveKey, from);
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
    case Kind::InsertKey:
    case Kind::RemoveKey:
        break;
    }
    return false;
}

AnimationEdit AnimationEdit::inverse() const
{
    AnimationEdit inverse = *this;
    std::swap(inverse.m_keyBefore, inverse.m_keyAfter);
    std::swap(inverse.m_playbackBefore, inverse.m_playbackAfter);
    switch (m_kind) {
    case Kind::InsertKey:
        inverse.m_kind = Kind::RemoveKey;
        break;
    case Kind::RemoveKey:
        inverse.m_kind = Kind::InsertKey;
        break;
    case Kind::MoveKey:
        std::swap(inverse.m_index, inverse.m_destination);
        break;
    case Kind::ChangeKey:
    case Kind::ChangePlayback:
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
        return m_index <= count ? Status{} : noSuchKey(m_index, count);
    case Kind::RemoveKey:
        if (count == 1)
            return Error{"the last key cannot be removed"};
        [[fallthrough]];
    case Kind::ChangeKey:
        return m_index < count ? Status{} : noSuchKey(m_index, count);
    case Kind::MoveKey:
        if (m_index >= count)
            return noSuchKey(m_index, count);
        return m_destination < count ? Status{} : noSuchKey(m_destination, count);
    case Kind::ChangePlayback:
        break;
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
        keys.insert(at, m_keyAfter);
        break;
    case Kind::RemoveKey:
        keys.erase(at);
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
    }
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
    return {};
}

} // namespace zelbrook
