// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"
#include "model/pose.h"

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

// The nine segments and the head dots alone, over whatever the canvas holds;
// in the given colour, or as the figure is always drawn.
void drawLimbsAndHead(const Pose &pose, Canvas &canvas, std::optional<Color> color = std::nullopt);
// The remark when the head is very large, and the credit line.
void drawCaptions(const Pose &pose, Canvas &canvas, std::string_view caption);

} // namespace zelbrook
