// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"
#include "model/pose.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelbrook {

inline constexpr std::string_view kCleverRemark = "Gee, I'm CLEVER!";
inline constexpr std::string_view kCreditPrefix = "made with ";

// Clears the canvas and draws the whole figure from the pose: nine segments,
// the 362 head dots, the remark when the head is very large, and the credit
// line "made with " followed by the window's caption. Nothing is kept between
// calls, so two calls in a row leave the same picture as one.
void drawFigure(const Pose &pose, Canvas &canvas, std::string_view caption);

// Whether the figure's left arm and leg are drawn in a lighter tone of the
// colour they would have, so that its two sides can be told apart.
enum class Sides : std::uint8_t { Alike, LeftLighter };

// Whether the figure's lines are whole, or dashes three pen widths long with
// gaps of two, in canvas units.
enum class Stroke : std::uint8_t { Solid, Dashed };

// The nine segments and the head dots alone, over whatever the canvas holds;
// in the given colour, or as the figure is always drawn.
void drawLimbsAndHead(const Pose &pose, Canvas &canvas, std::optional<Color> color = std::nullopt,
                      Sides sides = Sides::Alike, Stroke stroke = Stroke::Solid);
// A colour a little more than halfway to white, each channel rounded down.
Color lighterTone(Color color);
// The remark when the head is very large, and the credit line.
void drawCaptions(const Pose &pose, Canvas &canvas, std::string_view caption);

} // namespace zelbrook
