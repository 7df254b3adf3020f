// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace zelbrook {

void TimelineLayout::setKeys(std::vector<Timing> keys, bool loop)
{
    m_loop = loop;
    m_keys = std::move(keys);
    m_starts.resize(keyCount() + 1);
    placeFrom(0);
}

void TimelineLayout::setTiming(std::size_t key, int hold, int tweens)
{
    m_keys[key] = {hold, tweens};
    placeFrom(key);
}

void TimelineLayout::placeFrom(std::size_t key)
{
    for (std::size_t next = key; next < keyCount(); ++next) {
        m_starts[next + 1] = m_starts[next] + static_cast<std::size_t>(m_keys[next].hold + tweensOf(next));
    }
}

void TimelineLayout::setFrameWidth(int width)
{
    m_frameWidth = std::clamp(width, kMinimumFrameWidth, kMaximumFrameWidth);
}

std::size_t TimelineLayout::frameAt(int x) const
{
    if (x < kLeft || frameCount() == 0)
        return 0;
    return std::min(static_cast<std::size_t>((x - kLeft) / m_frameWidth), frameCount() - 1);
}

std::size_t TimelineLayout::keyOfFrame(std::size_t frame) const
{
    const auto after = std::upper_bound(m_starts.begin(), m_starts.end(), frame);
    return std::min(static_cast<std::size_t>(after - m_starts.begin()) - 1, keyCount() - 1);
}

std::optional<std::size_t> TimelineLayout::keyAt(int x) const
{
    if (x < kLeft || x >= frameX(frameCount()))
        return std::nullopt;
    return keyOfFrame(frameAt(x));
}

std::pair<std::size_t, std::size_t> TimelineLayout::keysWithin(int left, int right) const
{
    if (right <= left || right <= kLeft || left >= frameX(frameCount()))
        return {0, 0};
    return {keyOfFrame(frameAt(left)), keyOfFrame(frameAt(right - 1)) + 1};
}

long TimelineLayout::boundaryAt(int x) const { return std::lround(std::floor(double(x - kLeft) / m_frameWidth + 0.5)); }

std::optional<TimelineLayout::Grip> TimelineLayout::gripAt(int x, Half half) const
{
    const long boundary = boundaryAt(x);
    const int reach = std::min(kGrip, m_frameWidth / 3);
    if (boundary < 1 || boundary > static_cast<long>(frameCount())
        || std::abs(x - frameX(static_cast<std::size_t>(boundary))) > reach)
        return std::nullopt;
    const auto end = static_cast<std::size_t>(boundary);
    const std::size_t key = keyOfFrame(end - 1);
    const bool holdEnds = m_starts[key] + static_cast<std::size_t>(m_keys[key].hold) == end;
    const bool tweensEnd = m_starts[key + 1] == end && playsTweens(key);
    if (holdEnds && tweensEnd)
        return Grip{key, half == Half::Lower ? End::Tweens : End::Hold};
    if (holdEnds || tweensEnd)
        return Grip{key, holdEnds ? End::Hold : End::Tweens};
    return std::nullopt;
}

int TimelineLayout::draggedValue(Grip grip, int x) const
{
    const long frames = boundaryAt(x) - static_cast<long>(m_starts[grip.key]);
    if (grip.end == End::Hold)
        return static_cast<int>(std::clamp<long>(frames, Key::kHoldRange.minimum, Key::kHoldRange.maximum));
    return static_cast<int>(
        std::clamp<long>(frames - m_keys[grip.key].hold, Key::kTweensRange.minimum, Key::kTweensRange.maximum));
}

} // namespace zelbrook
