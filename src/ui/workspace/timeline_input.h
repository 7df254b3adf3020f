// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeline_layout.h"

#include <QPoint>
#include <QRect>

#include <cstddef>
#include <optional>

class QAction;
class QKeyEvent;
class QMenu;

namespace zelbrook {

// What a key, a press or a turn of the wheel on the timeline asks of it.
// While it has the focus the timeline answers, before the window's
// shortcuts, the key commands of its menu, Left and Right a frame at a
// time, Home and End, Shift+Alt+Left and Right to move the run's moving end
// by a key, and Escape while an end is dragged. A press takes the end of a
// block it is near, else the key under it (extending the run with Shift),
// else the frame under it. Points are along the timeline's whole length.
class TimelineInput
{
public:
    enum class Ask { Nothing, Command, Frame, Key, ExtendTo, Drag, GiveUpDrag };
    struct Answer {
        Ask ask = Ask::Nothing;
        // The frame or the key asked for.
        std::size_t to = 0;
        QAction *command = nullptr;
        TimelineLayout::Grip grip{0, TimelineLayout::End::Hold};
    };

    explicit TimelineInput(const TimelineLayout &layout)
        : m_layout(layout)
    {}

    QMenu *commands() const { return m_commands; }
    void setCommands(QMenu *menu) { m_commands = menu; }
    Answer key(const QKeyEvent &event, std::size_t playhead, std::size_t currentKey, bool dragging) const;
    Answer press(QPoint at, bool extending, const QRect &lane) const;
    // The end of a block that a press at this point of the lane takes.
    std::optional<TimelineLayout::Grip> gripAt(QPoint at, const QRect &lane) const;
    // The frame width after turning the wheel by notches, a step of a
    // quarter and at least a pixel each way.
    int zoomedWidth(int notches) const;

private:
    const TimelineLayout &m_layout;
    QMenu *m_commands = nullptr;
};

} // namespace zelbrook
