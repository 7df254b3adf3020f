// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/cast.h"
#include "model/joint_drag.h"
#include "model/point.h"

#include <optional>
#include <span>

namespace zelbrook {

// A click this close to a figure's line, in pixels, makes it current.
inline constexpr double kLineGrabRadius = 4.0;

// What a press on the canvas finds: a figure, and the joint it grabs when
// the press grabs one rather than the figure's line alone.
struct ScenePick {
    FigureId figure;
    std::optional<Joint> joint;

    friend bool operator==(const ScenePick &, const ScenePick &) = default;
};

// What a press, given in pixels from the top-left corner of the drawing
// area, finds among the scene's figures (in drawing order). Both grab radii
// are pixels of the screen, `grabScale` being the picture's pixels to one of
// the screen's. A joint (or the
// inside of a head) comes before any line; among figures the current one
// comes first, then the others front to back. A figure whose reach the
// press lies beyond is passed over without working out its joints, so a
// press stays quick among many figures.
std::optional<ScenePick> pickInScene(std::span<const SceneFigure> scene, FigureId current, Point pressPixels,
                                     double grabScale = 1.0);

} // namespace zelbrook
