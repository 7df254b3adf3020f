// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose_field.h"

#include <optional>
#include <span>
#include <string_view>

namespace zelbrook {

enum class ControlKind { Canvas, Slider, ReadOut, Label, Button, Line };

// One control of the window. Places and sizes are twips (15 to a pixel);
// a line runs from (left, top) to (left + width, top + height).
struct ControlRow {
    int tab; // -1: not in the tab order
    std::string_view name;
    ControlKind kind;
    std::string_view text;
    int left;
    int top;
    int width;
    int height;
    // The value a slider edits and its read-out box shows.
    std::optional<FieldId> field = std::nullopt;
};

inline constexpr int kTwipsPerPixel = 15;

// Every control of the window, in tab order, the lines last.
std::span<const ControlRow> controlTable();

// Where a control stands, in twips, in the workspace's panel of sliders:
// the column of sliders as the window has it, with the size, rotation and
// line width under it, each under its label. The canvas and the buttons
// have no place there.
struct PanelPlace {
    int left;
    int top;
};
std::optional<PanelPlace> panelPlace(const ControlRow &row);
// The panel's size in twips.
inline constexpr int kPanelWidth = 3015;
inline constexpr int kPanelHeight = 8685;

} // namespace zelbrook
