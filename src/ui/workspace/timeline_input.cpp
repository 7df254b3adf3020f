// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_input.h"

#include "ui/action_table.h"

#include <QKeyEvent>
#include <QMenu>

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

bool isExtendKey(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right)
           && event.modifiers() == (Qt::ShiftModifier | Qt::AltModifier);
}

bool isFrameKey(const QKeyEvent &event)
{
    const int key = event.key();
    const bool frameKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    return frameKey && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// One step from `from` towards the start or the end, within `count`.
std::size_t step(std::size_t from, bool earlier, std::size_t count)
{
    return earlier ? from - std::min<std::size_t>(from, 1) : std::min(from + 1, count - 1);
}

std::size_t frameFor(const QKeyEvent &event, std::size_t playhead, std::size_t frameCount)
{
    switch (event.key()) {
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return frameCount - 1;
    default:
        return step(playhead, event.key() == Qt::Key_Left, frameCount);
    }
}

} // namespace

TimelineInput::Answer TimelineInput::key(const QKeyEvent &event, std::size_t playhead, std::size_t currentKey,
                                         bool dragging) const
{
    if (QAction *command = m_commands ? commandForKey(m_commands->actions(), event) : nullptr)
        return {Ask::Command, 0, command};
    if (isExtendKey(event))
        return {Ask::ExtendTo, step(currentKey, event.key() == Qt::Key_Left, m_layout.keyCount())};
    if (isFrameKey(event))
        return {Ask::Frame, frameFor(event, playhead, m_layout.frameCount())};
    if (event.key() == Qt::Key_Escape && dragging)
        return {Ask::GiveUpDrag};
    return {};
}

TimelineInput::Answer TimelineInput::press(QPoint at, bool extending, const QRect &lane) const
{
    if (const std::optional<TimelineLayout::Grip> grip = extending ? std::nullopt : gripAt(at, lane))
        return {Ask::Drag, 0, nullptr, *grip};
    if (const std::optional<std::size_t> key = m_layout.keyAt(at.x()); key && at.y() >= lane.top())
        return {extending ? Ask::ExtendTo : Ask::Key, *key};
    return {Ask::Frame, m_layout.frameAt(at.x())};
}

std::optional<TimelineLayout::Grip> TimelineInput::gripAt(QPoint at, const QRect &lane) const
{
    if (at.y() < lane.top() || at.y() > lane.bottom())
        return std::nullopt;
    const auto half = at.y() > lane.center().y() ? TimelineLayout::Half::Lower : TimelineLayout::Half::Upper;
    return m_layout.gripAt(at.x(), half);
}

int TimelineInput::zoomedWidth(int notches) const
{
    const int width = m_layout.frameWidth();
    const int scaled = static_cast<int>(std::lround(width * std::pow(1.25, notches)));
    return notches > 0 ? std::max(width + 1, scaled) : std::min(width - 1, scaled);
}

} // namespace zelbrook
