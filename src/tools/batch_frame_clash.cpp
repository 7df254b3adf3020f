// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/batch_frame_clash.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace zelbrook {

namespace {

constexpr std::size_t kLeastDigits = 4;

// The stem's part before a final "-0123" of at least four digits, or
// nothing when it has no such ending.
std::optional<std::string_view> framePrefix(std::string_view stem)
{
    const std::size_t dash = stem.rfind('-');
    if (dash == std::string_view::npos || stem.size() - dash - 1 < kLeastDigits)
        return std::nullopt;
    const std::string_view digits = stem.substr(dash + 1);
    if (!std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return stem.substr(0, dash);
}

} // namespace

std::size_t BatchFrameClash::frameNumber(std::string_view stem, std::string_view prefix, std::size_t frames)
{
    const std::size_t digits = std::max(kLeastDigits, std::to_string(frames).size());
    if (stem.size() != prefix.size() + 1 + digits || !stem.starts_with(prefix) || stem[prefix.size()] != '-'
        || framePrefix(stem) != prefix)
        return 0;
    std::size_t number = 0;
    for (const char digit : stem.substr(prefix.size() + 1))
        number = number * 10 + static_cast<std::size_t>(digit - '0');
    return number <= frames ? number : 0;
}

std::optional<std::pair<std::size_t, std::size_t>> BatchFrameClash::find(std::size_t inputs, const Stem &stem,
                                                                         const FrameCount &frameCount)
{
    std::unordered_map<std::string_view, std::size_t> byStem;
    for (std::size_t index = 0; index < inputs; ++index)
        byStem.emplace(stem(index), index);
    for (std::size_t other = 0; other < inputs; ++other) {
        const std::optional<std::string_view> prefix = framePrefix(stem(other));
        const auto animation = prefix ? byStem.find(*prefix) : byStem.end();
        if (animation == byStem.end())
            continue;
        const std::optional<std::size_t> frames = frameCount(animation->second);
        // An input that is itself an animation writes frames of its own name.
        if (frames && frameNumber(stem(other), *prefix, *frames) > 0 && !frameCount(other))
            return std::pair{animation->second, other};
    }
    return std::nullopt;
}

} // namespace zelbrook
