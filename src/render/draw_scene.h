// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"
#include "draw_figure.h"
#include "model/cast.h"
#include "model/figure.h"
#include "motion_path.h"

#include <optional>
#include <span>
#include <string_view>

namespace zelbrook {

// Red and blue at about a fifth of their strength over white. Every channel
// of a ghost is 208 or more, while a colour with a channel at 0 keeps that
// channel at 140 in its lighter Sides tone, so that a ghost is never taken
// for a figure or for a figure's lighter side.
inline constexpr Color kPreviousKeyColor = 0xFFD0D0;
inline constexpr Color kNextKeyColor = 0xD0D0FF;
// The rings that mark the current figure's joints on the screen.
inline constexpr Color kCurrentFigureRingColor = 0x2A82DA;
// The marks of pinned hands and feet on the screen.
inline constexpr Color kPinMarkColor = 0xE07000;

// A figure shown faintly under the one being edited, all in one colour.
struct Ghost {
    const Figure *figure;
    Color color;
    Stroke stroke = Stroke::Solid;
};

// The previous key's ghost is dashed and the next key's solid, so the two
// are told apart by more than their hue.
inline Ghost previousKeyGhost(const Figure &figure) { return {&figure, kPreviousKeyColor, Stroke::Dashed}; }
inline Ghost nextKeyGhost(const Figure &figure) { return {&figure, kNextKeyColor, Stroke::Solid}; }

// What only the screen shows with a scene.
struct ScreenAids {
    // The figure whose joints are ringed when the scene holds more than one.
    std::optional<FigureId> ringed;
    // How every figure and ghost shows its sides.
    Sides sides = Sides::Alike;
    // Drawn over the figures, under the rings; none when null.
    const MotionPath *path = nullptr;
    // Whether each pinned hand and foot has a mark where it is pinned.
    bool pins = false;
};

// The picture of a scene, on the screen and in every export: one clear, the
// ghosts in their own colours and pen widths, then each figure in its colour
// with its own pen, back to front, then the remark when a head is very
// large, and the credit line. On the screen the figure `ringed` has small
// rings on its joints, when the scene holds more than one figure. A black
// figure is drawn as drawFigure draws it, so a scene of one black figure is
// today's picture. Pinned ends are marked, on the screen, by a small
// diamond under a cross at their pins. The canvas ends with the pen of the ringed figure, or of
// the front one.
void drawScene(std::span<const SceneFigure> scene, std::span<const Ghost> ghosts, Canvas &canvas,
               std::string_view caption, std::optional<FigureId> ringed = std::nullopt);

// The scene's figures alone on a cleared canvas, as drawScene draws them,
// with neither the remark nor the credit line: a picture cut to the figures.
void drawSceneFigures(std::span<const SceneFigure> scene, Canvas &canvas);

// The scene with what only the screen shows.
void drawScene(std::span<const SceneFigure> scene, std::span<const Ghost> ghosts, Canvas &canvas,
               std::string_view caption, const ScreenAids &aids);

// A scene of the one figure, black.
void drawScene(const Figure &figure, std::span<const Ghost> ghosts, Canvas &canvas, std::string_view caption);

} // namespace zelbrook
