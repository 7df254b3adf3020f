// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation.h"

#include <algorithm>
#include <cassert>
#include <string>
#include <utility>

namespace zelbrook {

namespace {

std::string rangeError(std::string_view name, int value, SliderRange range)
{
    return std::string(name) + " is " + std::to_string(value) + ", outside " + std::to_string(range.minimum) + " to "
           + std::to_string(range.maximum);
}

std::vector<CastFigure> castOf(const std::vector<Key> &keys)
{
    std::vector<CastFigure> cast;
    for (const Key &key : keys) {
        for (const KeyFigure &figure : key.figures) {
            if (std::ranges::none_of(cast, [&](const CastFigure &met) { return met.id == figure.id; }))
                cast.push_back({figure.id, defaultFigureName(figure.id), {}});
        }
    }
    return cast;
}

} // namespace

Key::Key(const Figure &figure, int hold, int tweens, Ease ease)
    : figures{KeyFigure{kFirstFigureId, figure}}
    , hold(hold)
    , tweens(tweens)
    , ease(ease)
{}

Key::Key(std::vector<KeyFigure> figures, int hold, int tweens, Ease ease)
    : figures(std::move(figures))
    , hold(hold)
    , tweens(tweens)
    , ease(ease)
{}

const KeyFigure *Key::find(FigureId id) const
{
    const auto found = std::ranges::find(figures, id, &KeyFigure::id);
    return found == figures.end() ? nullptr : &*found;
}

KeyFigure *Key::find(FigureId id) { return const_cast<KeyFigure *>(std::as_const(*this).find(id)); }

Animation::Animation(const Figure &figure)
    : m_cast{CastFigure{}}
    , m_keys{Key{figure}}
{
    countFrames();
}

Animation::Animation(Playback playback, std::vector<Key> keys)
    : m_playback(playback)
    , m_cast(castOf(keys))
    , m_keys(std::move(keys))
{
    settleCast();
}

Animation::Animation(Playback playback, std::vector<CastFigure> cast, std::vector<Key> keys)
    : m_playback(playback)
    , m_cast(std::move(cast))
    , m_keys(std::move(keys))
{
    settleCast();
}

void Animation::settleCast()
{
    countFrames();
    for (Key &key : m_keys)
        orderFigures(key);
    for (const CastFigure &figure : m_cast)
        m_nextFigureId = std::max(m_nextFigureId, std::min(figure.id, kLastFigureId) + 1);
}

const CastFigure *Animation::castFigure(FigureId id) const
{
    const auto found = std::ranges::find(m_cast, id, &CastFigure::id);
    return found == m_cast.end() ? nullptr : &*found;
}

std::optional<std::size_t> Animation::drawingPlace(FigureId id) const
{
    const auto found = std::ranges::find(m_cast, id, &CastFigure::id);
    return found == m_cast.end() ? std::nullopt : std::optional(static_cast<std::size_t>(found - m_cast.begin()));
}

// Figures the cast lacks go last, for check() to find. An insertion sort,
// stable and in place: a key holds few figures, mostly in order already,
// and std::stable_sort would take a buffer of its own.
void Animation::orderFigures(Key &key) const
{
    const auto place = [this](const KeyFigure &figure) { return drawingPlace(figure.id).value_or(m_cast.size()); };
    for (auto next = key.figures.begin(); next != key.figures.end(); ++next)
        std::rotate(std::ranges::upper_bound(key.figures.begin(), next, place(*next), {}, place), next, next + 1);
}

Status Animation::check() const
{
    if (!Playback::kFpsRange.contains(m_playback.fps))
        return Error{rangeError("fps", m_playback.fps, Playback::kFpsRange)};
    if (m_keys.empty() || m_keys.size() > kMaximumKeys)
        return Error{"an animation has 1 to " + std::to_string(kMaximumKeys) + " keys, not "
                     + std::to_string(m_keys.size())};
    if (Status cast = checkCast(); !cast)
        return cast;
    // Which key last held each figure of the cast, counted from 1.
    std::vector<std::size_t> heldBy(m_cast.size(), 0);
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        const Key &key = m_keys[i];
        // The message is made only for a key that fails, never for the
        // thousands that pass.
        const auto where = [i] { return "key " + std::to_string(i + 1) + ": "; };
        if (!Key::kHoldRange.contains(key.hold))
            return Error{where() + rangeError("hold", key.hold, Key::kHoldRange)};
        if (!Key::kTweensRange.contains(key.tweens))
            return Error{where() + rangeError("tweens", key.tweens, Key::kTweensRange)};
        if (Status figures = checkKeyFigures(i, heldBy); !figures)
            return figures;
    }
    if (const auto unheld = std::ranges::find(heldBy, 0); unheld != heldBy.end())
        return Error{"figure " + std::to_string(m_cast[static_cast<std::size_t>(unheld - heldBy.begin())].id)
                     + " is in no key"};
    if (const std::size_t count = frameCount(); count > kMaximumFrames)
        return Error{"the animation has " + std::to_string(count) + " frames, more than "
                     + std::to_string(kMaximumFrames)};
    return {};
}

Status Animation::checkCast() const
{
    if (m_cast.size() > kMaximumCastFigures)
        return Error{"the cast has " + std::to_string(m_cast.size()) + " figures, more than "
                     + std::to_string(kMaximumCastFigures)};
    for (auto figure = m_cast.begin(); figure != m_cast.end(); ++figure) {
        const std::string id = std::to_string(figure->id);
        if (figure->id < kFirstFigureId || figure->id > kLastFigureId)
            return Error{"figure id " + id + " is outside " + std::to_string(kFirstFigureId) + " to "
                         + std::to_string(kLastFigureId)};
        if (Status name = checkFigureName(figure->name); !name)
            return Error{"figure " + id + ": " + name.error().message};
        for (auto earlier = m_cast.begin(); earlier != figure; ++earlier) {
            if (earlier->id == figure->id)
                return Error{"figure " + id + " is in the cast twice"};
            if (earlier->name == figure->name)
                return Error{"figures " + std::to_string(earlier->id) + " and " + id + " are both named \""
                             + figure->name + "\""};
        }
    }
    return {};
}

// Marks in `heldBy` the figures of the key at `index`, counted from 1.
Status Animation::checkKeyFigures(std::size_t index, std::vector<std::size_t> &heldBy) const
{
    const Key &key = m_keys[index];
    const auto where = [index] { return "key " + std::to_string(index + 1); };
    if (key.figures.empty())
        return Error{where() + " has no figure"};
    for (const KeyFigure &figure : key.figures) {
        const auto named = [&] { return where() + ": figure " + std::to_string(figure.id); };
        const std::optional<std::size_t> place = drawingPlace(figure.id);
        if (!place)
            return Error{named() + " is not in the cast"};
        if (std::exchange(heldBy[*place], index + 1) == index + 1)
            return Error{named() + " is in the key twice"};
        // With one figure the message is as it was before there were casts.
        if (!kPenWidthRange.contains(figure.figure.penWidth))
            return Error{(m_cast.size() > 1 ? named() : where()) + ": "
                         + rangeError("penWidth", figure.figure.penWidth, kPenWidthRange)};
    }
    return {};
}

int Animation::tweensPlayedAfter(std::size_t key) const
{
    return key + 1 < m_keys.size() || m_playback.loop ? m_keys[key].tweens : 0;
}

void Animation::countFrames()
{
    m_firstFrames.resize(m_keys.size() + 1);
    m_firstFrames.front() = 0;
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        m_firstFrames[i + 1] = m_firstFrames[i] + static_cast<std::size_t>(m_keys[i].hold)
                               + static_cast<std::size_t>(tweensPlayedAfter(i));
}

std::size_t Animation::firstFrameOf(std::size_t key) const { return m_firstFrames[std::min(key, m_keys.size())]; }

// The key is the last whose first frame is not after the frame.
FrameRef Animation::frameAt(std::size_t frame) const
{
    assert(frame < frameCount());
    const auto next = std::ranges::upper_bound(m_firstFrames, frame);
    const auto key = static_cast<std::size_t>(next - m_firstFrames.begin()) - 1;
    const std::size_t intoKey = frame - m_firstFrames[key];
    const auto hold = static_cast<std::size_t>(m_keys[key].hold);
    if (intoKey < hold)
        return {key, 0, 0};
    return {key, static_cast<int>(intoKey - hold) + 1, tweensPlayedAfter(key)};
}

std::size_t Animation::frameOf(const FrameRef &frame) const
{
    const std::size_t first = firstFrameOf(frame.key);
    return frame.step == 0 ? first : first + static_cast<std::size_t>(m_keys.at(frame.key).hold + frame.step - 1);
}

std::vector<FrameRef> Animation::frames() const
{
    std::vector<FrameRef> frames;
    frames.reserve(frameCount());
    for (std::size_t i = 0; i < m_keys.size(); ++i) {
        frames.insert(frames.end(), static_cast<std::size_t>(m_keys[i].hold), FrameRef{i, 0, 0});
        const int tweens = tweensPlayedAfter(i);
        for (int step = 1; step <= tweens; ++step)
            frames.push_back({i, step, tweens});
    }
    return frames;
}

std::vector<SceneFigure> Animation::sceneAt(const FrameRef &frame) const
{
    const Key &from = m_keys.at(frame.key);
    const Key &to = m_keys[(frame.key + 1) % m_keys.size()];
    std::vector<SceneFigure> scene;
    for (const CastFigure &figure : m_cast) {
        const KeyFigure *first = from.find(figure.id);
        const KeyFigure *next = frame.step == 0 ? first : to.find(figure.id);
        if (!first || !next)
            continue;
        scene.push_back({figure.id, figure.name, figure.color,
                         frame.step == 0 ? first->figure
                                         : inBetween(first->figure, next->figure, frame.step, frame.of, from.ease)});
    }
    return scene;
}

Figure Animation::figureAt(const FrameRef &frame) const
{
    const Key &from = m_keys.at(frame.key);
    const KeyFigure &back = from.figures.front();
    const KeyFigure *next = m_keys[(frame.key + 1) % m_keys.size()].find(back.id);
    if (frame.step == 0 || !next)
        return back.figure;
    return inBetween(back.figure, next->figure, frame.step, frame.of, from.ease);
}

} // namespace zelbrook
