// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeline_layout.h"

#include "model/animation_document.h"

#include <optional>

namespace zelbrook {

// A drag of the end of a key's hold or in-betweens along the timeline: the
// layout counts the new length while the drag lasts, and the document takes
// it as one step of the key's timing when it ends. The key is made current
// when the drag starts, as the document sets the current key's timing.
class TimingDrag
{
public:
    TimingDrag(AnimationDocument &document, TimelineLayout &layout)
        : m_document(document)
        , m_layout(layout)
    {}

    bool isActive() const { return m_grip.has_value(); }
    void start(TimelineLayout::Grip grip);
    // The end follows a pointer at x along the timeline's whole length.
    void moveTo(int x);
    // Sets the length shown; no step when it is the key's own.
    Status finish();
    // Gives the drag up; the layout still shows the length dragged until
    // it is given the keys again.
    void cancel() { m_grip.reset(); }

private:
    AnimationDocument &m_document;
    TimelineLayout &m_layout;
    std::optional<TimelineLayout::Grip> m_grip;
};

} // namespace zelbrook
