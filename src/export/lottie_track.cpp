// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/lottie_track.h"

#include <cmath>
#include <cstdint>

namespace zelbrook {

namespace {

using Json = nlohmann::ordered_json;
using Values = LottieTrack::Values;

struct Keyframe {
    std::size_t time;
    Values values;
    bool hold = true;
    Ease ease = Ease::Linear;
};

// Carries a direction on from the value before by the shorter way round,
// so that every keyframe's angle differs from the one before by what the
// animation turns.
class Unwrapper
{
public:
    explicit Unwrapper(bool turns)
        : m_turns(turns)
    {}

    Values take(const Values &raw)
    {
        if (!m_turns || m_raw.empty()) {
            m_raw = m_unwrapped = raw;
            return raw;
        }
        for (std::size_t i = 0; i < raw.size(); ++i) {
            m_unwrapped[i] += shorterTurn(raw[i] - m_raw[i]);
            m_raw[i] = raw[i];
        }
        return m_unwrapped;
    }

private:
    bool m_turns;
    Values m_raw;
    Values m_unwrapped;
};

Values written(const Values &values, const LottieTrack::Source &source)
{
    const double places = std::pow(10.0, source.decimals);
    Values out;
    out.reserve(values.size());
    for (const double value : values) {
        const double rounded = std::round(value * source.factor * places) / places;
        out.push_back(rounded == 0 ? 0.0 : rounded); // never "-0"
    }
    return out;
}

void add(std::vector<Keyframe> &keyframes, Keyframe keyframe)
{
    if (keyframes.empty() || keyframes.back().time < keyframe.time)
        keyframes.push_back(std::move(keyframe));
}

std::vector<Keyframe> keyframesOf(const std::vector<LottieRun> &runs, const LottieTrack::Source &source)
{
    std::vector<Keyframe> keyframes;
    Unwrapper unwrapper(source.turns);
    for (const LottieRun &run : runs) {
        if (!run.figure)
            continue;
        const Values value = unwrapper.take(source.of(*run.figure));
        add(keyframes, {run.first, value});
        add(keyframes, {run.holdEnd, value});
        if (!run.next)
            continue;
        const auto between = source.between ? source.between(*run.figure, *run.next) : LottieTrack::Between::Eased;
        if (between == LottieTrack::Between::Eased) {
            keyframes.back().hold = false;
            keyframes.back().ease = run.ease;
            // The next key's own run starts at the same frame with the same
            // value, or, after the last key of a loop, there is none.
            add(keyframes,
                {run.holdEnd + static_cast<std::size_t>(run.tweens) + 1, unwrapper.take(source.of(*run.next))});
        } else if (between == LottieTrack::Between::PerFrame) {
            for (int step = 1; step <= run.tweens; ++step) {
                const Figure frame = inBetween(*run.figure, *run.next, step, run.tweens, run.ease);
                add(keyframes, {run.holdEnd + static_cast<std::size_t>(step), unwrapper.take(source.of(frame))});
            }
        }
    }
    return keyframes;
}

// A keyframe that holds the value of the one before adds nothing; an ease
// between two equal values is a hold.
std::vector<Keyframe> withoutRepeats(std::vector<Keyframe> keyframes, const LottieTrack::Source &source)
{
    for (Keyframe &keyframe : keyframes)
        keyframe.values = written(keyframe.values, source);
    for (std::size_t i = 0; i + 1 < keyframes.size(); ++i)
        if (keyframes[i].values == keyframes[i + 1].values)
            keyframes[i].hold = true;
    std::vector<Keyframe> kept;
    for (Keyframe &keyframe : keyframes) {
        if (!kept.empty() && kept.back().values == keyframe.values && keyframe.hold) {
            kept.back().hold = true;
            continue;
        }
        kept.push_back(std::move(keyframe));
    }
    return kept;
}

// A whole number is written without a fraction, which keeps the file small.
Json number(double value)
{
    if (value == std::trunc(value) && std::abs(value) < 1e15)
        return static_cast<std::int64_t>(value);
    return value;
}

Json valueJson(const Values &values, LottieTrack::Form form)
{
    switch (form) {
    case LottieTrack::Form::Number:
        return number(values.front());
    case LottieTrack::Form::Vector: {
        Json list = Json::array();
        for (const double value : values)
            list.push_back(number(value));
        return list;
    }
    case LottieTrack::Form::Path:
        break;
    }
    Json points = Json::array();
    Json tangents = Json::array();
    for (std::size_t i = 0; i + 1 < values.size(); i += 2) {
        points.push_back({number(values[i]), number(values[i + 1])});
        tangents.push_back({0, 0});
    }
    return {{"c", false}, {"v", std::move(points)}, {"i", tangents}, {"o", tangents}};
}

} // namespace

std::vector<LottieRun> lottieRuns(const Animation &animation, FigureId id)
{
    std::vector<LottieRun> runs;
    runs.reserve(animation.keyCount());
    for (std::size_t i = 0; i < animation.keyCount(); ++i) {
        const Key &key = animation.key(i);
        const std::size_t first = animation.firstFrameOf(i);
        const int tweens = static_cast<int>(animation.firstFrameOf(i + 1) - first) - key.hold;
        const KeyFigure *figure = key.find(id);
        const KeyFigure *next = animation.key((i + 1) % animation.keyCount()).find(id);
        runs.push_back({first, first + static_cast<std::size_t>(key.hold) - 1, figure ? &figure->figure : nullptr,
                        figure && next && tweens > 0 ? &next->figure : nullptr, tweens, key.ease});
    }
    return runs;
}

Json LottieTrack::fixed(const Values &values, Form form) { return {{"a", 0}, {"k", valueJson(values, form)}}; }

void LottieTrack::setEase(Json &keyframe, Ease ease)
{
    const bool smooth = ease == Ease::Smooth;
    keyframe["o"] = {{"x", {smooth ? 1.0 / 3.0 : 0.0}}, {"y", {0}}};
    keyframe["i"] = {{"x", {smooth ? 2.0 / 3.0 : 1.0}}, {"y", {1}}};
}

Json LottieTrack::property(const std::vector<LottieRun> &runs, const Source &source)
{
    const std::vector<Keyframe> keyframes = withoutRepeats(keyframesOf(runs, source), source);
    if (keyframes.size() <= 1)
        return fixed(keyframes.empty() ? written(source.of(Figure{}), source) : keyframes.front().values, source.form);
    Json list = Json::array();
    for (std::size_t i = 0; i < keyframes.size(); ++i) {
        const Keyframe &keyframe = keyframes[i];
        Json value = valueJson(keyframe.values, source.form);
        // A number and a path are lists of one in a keyframe.
        if (source.form != Form::Vector)
            value = Json::array({std::move(value)});
        Json entry = {{"t", keyframe.time}, {"s", std::move(value)}};
        if (keyframe.hold || i + 1 == keyframes.size())
            entry["h"] = 1;
        else
            setEase(entry, keyframe.ease);
        list.push_back(std::move(entry));
    }
    return {{"a", 1}, {"k", std::move(list)}};
}

} // namespace zelbrook
