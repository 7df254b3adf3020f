// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"

#include <utility>
#include <vector>

// An animation of keys of these holds and in-betweens, each holding one
// default figure, at 12 frames a second.
inline zelbrook::Animation keysOf(const std::vector<std::pair<int, int>> &timings, bool loop = true)
{
    std::vector<zelbrook::Key> keys;
    for (const auto &[hold, tweens] : timings)
        keys.emplace_back(zelbrook::Figure{}, hold, tweens);
    return zelbrook::Animation(zelbrook::Playback{12, loop}, keys);
}
