// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/cast.h"
#include "model/result.h"

#include <QImage>
#include <QRect>

#include <span>

namespace zelbrook {

// The one rectangle that every frame of a trimmed export is cut to: the
// smallest that holds every pixel of every figure of every frame, as the
// canvas draws them at the zoom, grown by kMargin pixels on each side and
// kept within the canvas. The figures are drawn to find it, so it holds
// exactly what the pictures show, wide pens and heads included.
class TrimArea
{
public:
    static constexpr int kMargin = 2;

    static Result<QRect> ofAnimation(const Animation &animation, int zoom);
    static Result<QRect> ofScene(std::span<const SceneFigure> scene, int zoom);

    // The smallest rectangle that holds every pixel that is not wholly
    // transparent; an empty one when there is none.
    static QRect coveredArea(const QImage &picture);
};

} // namespace zelbrook
