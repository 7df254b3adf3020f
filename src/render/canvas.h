// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/color.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace zelbrook {

// A point handed to the canvas: single precision, in canvas units.
struct CanvasPoint {
    float x = 0.0f;
    float y = 0.0f;

    friend bool operator==(const CanvasPoint &, const CanvasPoint &) = default;
};

// The drawing operations of the figure's canvas. Coordinates are canvas
// units (0..500 across, 0..400 down over the drawing area); the pen width is
// in pixels whatever the scale. Drawing and text share one current position.
class Canvas
{
public:
    virtual ~Canvas() = default;

    // Fills the drawing area with the background colour and moves the
    // current position to (0, 0).
    virtual void Cls() = 0;
    // A straight line DrawWidth pixels wide, in the given colour or the
    // foreground colour; the current position moves to `to`.
    virtual void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color = std::nullopt) = 0;
    // One dot DrawWidth pixels across; the current position moves to `at`.
    virtual void PSet(CanvasPoint at, std::optional<Color> color = std::nullopt) = 0;

    virtual void setCurrentX(float x) = 0;
    virtual void setCurrentY(float y) = 0;
    // Draws the text in the foreground colour with its top-left corner at
    // the current position, without a background box.
    virtual void Print(std::string_view text) = 0;

    // The outer size of the canvas control in the window's units, not in
    // canvas units.
    virtual float Width() const = 0;
    virtual float Height() const = 0;

    virtual int DrawWidth() const = 0;
    virtual void setDrawWidth(int pixels) = 0;

    // Whether drawing also goes into the persistent image. The exports switch
    // it on, as the window always has; nothing else reads it, since every
    // canvas here keeps its picture whatever the switch says.
    virtual bool AutoRedraw() const = 0;
    virtual void setAutoRedraw(bool on) = 0;
};

} // namespace zelbrook
