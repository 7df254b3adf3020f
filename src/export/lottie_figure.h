// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"

#include <nlohmann/json.hpp>

namespace zelbrook {

// One figure of an animation as Lottie layers parented as its skeleton, in
// canvas units: the hip (position, rotation and scale), the body turning
// on it, the head and the upper arms on the body, the thighs on the hip,
// and each limb's second segment on its first. Each layer's origin is the
// joint its segment starts from, so a player works out every joint as the
// program does. Every line keeps the pen's width in pixels whatever the
// figure's scale, and the head is the program's dots on its ellipse.
class LottieFigure
{
public:
    // Picture pixels a canvas unit at zoom 1, across and down.
    static constexpr double kPixelsAcross = 493.0 / 500.0;
    static constexpr double kPixelsDown = 397.0 / 400.0;

    // The layers, front first, as a Lottie composition lists them.
    static nlohmann::ordered_json layers(const Animation &animation, const CastFigure &figure);
};

} // namespace zelbrook
