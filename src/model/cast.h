// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "color.h"
#include "figure.h"
#include "result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// Names a figure within its animation; an id once given is not given again
// while the animation is open.
using FigureId = int;
inline constexpr FigureId kFirstFigureId = 1;
inline constexpr FigureId kLastFigureId = 999999;
inline constexpr std::size_t kMaximumCastFigures = 100;
// Counted in characters, not bytes.
inline constexpr std::size_t kMaximumFigureNameLength = 100;

// A figure of an animation as every key shares it.
struct CastFigure {
    FigureId id = kFirstFigureId;
    std::string name = "Figure 1";
    Color color = kBlack;

    friend bool operator==(const CastFigure &, const CastFigure &) = default;
};

// A figure as one key holds it: its pose, with hip, size and rotation, and
// its pen.
struct KeyFigure {
    FigureId id = kFirstFigureId;
    Figure figure;

    friend bool operator==(const KeyFigure &, const KeyFigure &) = default;
};

// A figure as a frame shows it.
struct SceneFigure {
    FigureId id;
    std::string name;
    Color color = kBlack;
    Figure figure;

    friend bool operator==(const SceneFigure &, const SceneFigure &) = default;
};

// "Figure 7" for figure 7.
std::string defaultFigureName(FigureId id);

// Whether a figure, or a pose on the shelf, may bear the name: UTF-8 text of
// 1 to 100 characters, none of them a control character (bidirectional
// controls included, see isControlCharacter).
Status checkFigureName(std::string_view name);

// The name of a new figure: "Figure" and its id, or the next number up that
// no figure of the cast bears.
std::string newFigureName(FigureId id, const std::vector<CastFigure> &cast);

// The name of a copy of the figure named `name`: "Thrower 2", then
// "Thrower 3" and on, the first no figure of the cast bears. A copy of
// "Thrower 2" while "Thrower" is in the cast is named as a copy of "Thrower".
std::string copyFigureName(std::string_view name, const std::vector<CastFigure> &cast);

} // namespace zelbrook
