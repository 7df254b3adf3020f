// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <vector>

namespace zelbrook {

// The frames of one key as one figure of the animation goes through them:
// its hold, then the in-betweens that lead to the next key. Frames are
// counted from 0, as a Lottie player counts them.
struct LottieRun {
    std::size_t first = 0;
    std::size_t holdEnd = 0;
    // The figure as the key holds it; null when the key lacks it.
    const Figure *figure = nullptr;
    // The figure at the next key, when in-betweens lead there from this one.
    const Figure *next = nullptr;
    int tweens = 0;
    Ease ease = Ease::Linear;
};

// The runs of every key, for the figure with that id.
std::vector<LottieRun> lottieRuns(const Animation &animation, FigureId id);

// One animated value of a Lottie file, worked out from the keys: one
// keyframe at each key whose value differs, eased as the key is eased where
// the in-betweens follow the ease exactly, held where they keep the key's
// value, and one held keyframe a frame where they follow neither. A value
// that never changes is written once, without keyframes.
class LottieTrack
{
public:
    using Values = std::vector<double>;
    // How a value goes from one key to the next.
    enum class Between { Eased, Held, PerFrame };
    // What the values are written as: a number, a list of numbers, or an
    // open path through the points the values give pairwise.
    enum class Form { Number, Vector, Path };

    struct Source {
        std::function<Values(const Figure &figure)> of;
        Form form = Form::Vector;
        // Every value is multiplied by this as it is written.
        double factor = 1.0;
        // Written rounded to this many decimals.
        int decimals = 4;
        // A direction that takes the shorter way round between two keys;
        // its keyframes carry the angle unwrapped, so that a player turns
        // the same way.
        bool turns = false;
        Between (*between)(const Figure &from, const Figure &to) = nullptr; // null: always eased
    };

    // The property as a Lottie file holds it: {"a": 0, "k": value} or
    // {"a": 1, "k": [keyframes]}.
    static nlohmann::ordered_json property(const std::vector<LottieRun> &runs, const Source &source);
    // A value that does not move.
    static nlohmann::ordered_json fixed(const Values &values, Form form);
    // The ease of a Lottie keyframe: Smooth, 3t² − 2t³, is the cubic Bézier
    // (1/3, 0) (2/3, 1) exactly.
    static void setEase(nlohmann::ordered_json &keyframe, Ease ease);
};

} // namespace zelbrook
