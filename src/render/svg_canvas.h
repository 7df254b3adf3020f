// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zelbrook {

// What an SVG picture needs to know of the raster canvas it stands in for:
// the drawing area in pixels, the control's size in window units that
// Width and Height answer, and the text font. Sizes given in pixels (the
// pen, the font) are converted to canvas units, as they would cover the same
// part of the raster picture.
struct SvgPage {
    int pixelWidth = 0;
    int pixelHeight = 0;
    float controlWidth = 0.0f;
    float controlHeight = 0.0f;
    std::string fontFamily;
    double fontPixelSize = 0.0;
    // From the top of the text to its baseline.
    double fontAscentPixels = 0.0;
    // Whether a white rectangle covers the page first.
    bool background = true;
    // The part of the page the document shows, in canvas units; the whole
    // page when empty.
    struct Area {
        double x, y, width, height;
    };
    std::optional<Area> area = std::nullopt;
};

// The figure's canvas as an SVG document of 500 x 400 canvas units, which is
// also its natural size: lines with round caps, dots as filled circles, and
// text placed by its top-left corner. Shapes with a coordinate that is not a
// finite number are left out, so the document stays valid whatever the pose.
//
// A scene sets each figure's pen before it draws the figure, so the shapes
// drawn after each setting of the pen are one group, <g> with the stroke and
// fill of the first of them; the text stands outside any group. A document
// of one black group, one black figure, is written without it, as a figure
// was drawn before there were scenes.
class SvgCanvas : public Canvas
{
public:
    static constexpr double kUnitWidth = 500.0;
    static constexpr double kUnitHeight = 400.0;

    explicit SvgCanvas(SvgPage page);

    void Cls() override;
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color = std::nullopt) override;
    void PSet(CanvasPoint at, std::optional<Color> color = std::nullopt) override;
    void setCurrentX(float x) override { m_current.x = x; }
    void setCurrentY(float y) override { m_current.y = y; }
    void Print(std::string_view text) override;
    float Width() const override { return m_page.controlWidth; }
    float Height() const override { return m_page.controlHeight; }
    int DrawWidth() const override { return m_drawWidth; }
    void setDrawWidth(int pixels) override;
    bool AutoRedraw() const override { return m_autoRedraw; }
    void setAutoRedraw(bool on) override { m_autoRedraw = on; }

    CanvasPoint current() const { return m_current; }
    // The whole SVG document, from the XML declaration to the closing tag.
    std::string document() const;

private:
    double unitsPerPixelX() const;
    double unitsPerPixelY() const;
    std::string header() const;

    // The shapes from m_shapes[start] on: a group of that colour, or none
    // after the text.
    struct Group {
        std::size_t start;
        std::optional<Color> color;
    };

    void addShape(std::string shape, Color color);
    bool writesGroups() const;

    SvgPage m_page;
    CanvasPoint m_current;
    int m_drawWidth = 2;
    bool m_autoRedraw = false;
    Color m_foreColor = kBlack;
    Color m_backColor = kWhite;
    std::vector<std::string> m_shapes;
    std::vector<Group> m_groups;
    // Whether the next shape starts a group.
    bool m_penSet = false;
};

} // namespace zelbrook
