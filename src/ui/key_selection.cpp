// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_selection.h"

#include <algorithm>

namespace zelbrook {

KeyRun KeySelection::run() const
{
    const std::size_t current = m_document.currentKey();
    const std::size_t anchor = std::min(m_anchor, m_document.animation().keyCount() - 1);
    return {std::min(anchor, current), std::max(anchor, current)};
}

void KeySelection::choose(std::size_t key, Choice choice)
{
    m_extending = choice == Choice::Extending;
    if (!m_extending)
        m_anchor = key;
    m_document.setCurrentKey(key);
    m_extending = false;
}

void KeySelection::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    if (!m_extending && change.what != What::KeyFigure && change.what != What::KeyTiming
        && change.what != What::KeysReversed && change.what != What::Playback)
        m_anchor = m_document.currentKey();
}

} // namespace zelbrook
