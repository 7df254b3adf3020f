// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"
#include "model/figure.h"

#include <span>
#include <string_view>

namespace zelbrook {

inline constexpr Color kPreviousKeyColor = 0xFF8080;
inline constexpr Color kNextKeyColor = 0x8080FF;

// A figure shown faintly under the one being edited, all in one colour.
struct Ghost {
    const Figure *figure;
    Color color;
};

// The picture on the editor's screen: one clear, the ghosts in their own
// colours and pen widths, then the figure, the remark and the credit line
// exactly as drawFigure gives them. The canvas ends with the figure's pen.
void drawScene(const Figure &figure, std::span<const Ghost> ghosts, Canvas &canvas, std::string_view caption);

} // namespace zelbrook
