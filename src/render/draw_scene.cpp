// SPDX-License-Identifier: GPL-3.0-or-later
#include "draw_scene.h"

#include "draw_figure.h"

namespace zelbrook {

void drawScene(const Figure &figure, std::span<const Ghost> ghosts, Canvas &canvas, std::string_view caption)
{
    canvas.Cls();
    for (const Ghost &ghost : ghosts) {
        canvas.setDrawWidth(ghost.figure->penWidth);
        drawLimbsAndHead(ghost.figure->pose, canvas, ghost.color);
    }
    canvas.setDrawWidth(figure.penWidth);
    drawLimbsAndHead(figure.pose, canvas);
    drawCaptions(figure.pose, canvas, caption);
}

} // namespace zelbrook
