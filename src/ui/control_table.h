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

} // namespace zelbrook
