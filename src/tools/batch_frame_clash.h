// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>

namespace zelbrook {

// In a batch, an animation's numbered frame and another input's one output
// can take one name: "walk-0001.png" from both walk.zba and walk-0001.zbk.
// Only inputs whose output is named like a frame of another input's are
// read to find out.
class BatchFrameClash
{
public:
    // The output name of an input, without folder or extension.
    using Stem = std::function<std::string_view(std::size_t input)>;
    // How many numbered frames the input writes; none when it writes one
    // file, or nothing.
    using FrameCount = std::function<std::optional<std::size_t>(std::size_t input)>;

    // The first pair of inputs, the animation first, where one writes a
    // frame of the other's name. The stems are all different.
    static std::optional<std::pair<std::size_t, std::size_t>> find(std::size_t inputs, const Stem &stem,
                                                                   const FrameCount &frameCount);

    // The number a frame's name ends in, from 1, when `stem` is `prefix`
    // followed by "-" and the number in as many digits as an animation of
    // `frames` frames writes it; 0 otherwise.
    static std::size_t frameNumber(std::string_view stem, std::string_view prefix, std::size_t frames);
};

} // namespace zelbrook
