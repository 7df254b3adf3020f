// SPDX-License-Identifier: GPL-3.0-or-later
#include "timing_drag.h"

namespace zelbrook {

void TimingDrag::start(TimelineLayout::Grip grip)
{
    m_document.setCurrentKey(grip.key);
    m_grip = grip;
}

void TimingDrag::moveTo(int x)
{
    const Key &key = m_document.animation().key(m_grip->key);
    const int value = m_layout.draggedValue(*m_grip, x);
    const bool hold = m_grip->end == TimelineLayout::End::Hold;
    m_layout.setTiming(m_grip->key, hold ? value : key.hold, hold ? key.tweens : value);
}

// The layout counts no in-betweens after a last key that does not loop, so
// a drag of its hold keeps the key's own.
Status TimingDrag::finish()
{
    const std::size_t dragged = m_grip->key;
    const Key &key = m_document.animation().key(dragged);
    const int hold = m_layout.holdOf(dragged);
    const int tweens = m_grip->end == TimelineLayout::End::Tweens ? m_layout.tweensOf(dragged) : key.tweens;
    m_grip.reset();
    if (hold == key.hold && tweens == key.tweens)
        return {};
    return m_document.setKeyTiming(hold, tweens, key.ease);
}

} // namespace zelbrook
