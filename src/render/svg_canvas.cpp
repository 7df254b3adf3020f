// SPDX-License-Identifier: GPL-3.0-or-later
#include "svg_canvas.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <utility>

namespace zelbrook {

namespace {

// The shortest text that reads back to the same value, so a coordinate in
// the document is the very float that the drawing handed to the canvas.
template <typename Number>
std::string number(Number value)
{
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

std::string colour(Color color)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4)
        text += kDigits[(color >> shift) & 0xF];
    return text;
}

// Escapes the characters that XML gives a meaning and drops the control
// characters that no XML document may hold.
std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

void appendAttribute(std::string &element, std::string_view name, std::string_view value)
{
    element.append(" ").append(name).append("=\"").append(value).append("\"");
}

bool finite(CanvasPoint p) { return std::isfinite(p.x) && std::isfinite(p.y); }

} // namespace

SvgCanvas::SvgCanvas(SvgPage page)
    : m_page(std::move(page))
{
    Cls();
}

double SvgCanvas::unitsPerPixelX() const { return kUnitWidth / m_page.pixelWidth; }
double SvgCanvas::unitsPerPixelY() const { return kUnitHeight / m_page.pixelHeight; }

void SvgCanvas::Cls()
{
    std::string rect = "<rect";
    appendAttribute(rect, "width", number(kUnitWidth));
    appendAttribute(rect, "height", number(kUnitHeight));
    appendAttribute(rect, "fill", colour(m_backColor));
    m_shapes.clear();
    if (m_page.background)
        m_shapes.push_back(rect + "/>");
    m_groups.clear();
    m_penSet = false;
    m_current = {};
}

void SvgCanvas::setDrawWidth(int pixels)
{
    m_drawWidth = std::max(1, pixels);
    m_penSet = true;
}

void SvgCanvas::addShape(std::string shape, Color color)
{
    if (m_penSet)
        m_groups.push_back({m_shapes.size(), color});
    m_penSet = false;
    m_shapes.push_back(std::move(shape));
}

void SvgCanvas::Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color)
{
    m_current = to;
    if (!finite(from) || !finite(to))
        return;
    std::string line = "<line";
    appendAttribute(line, "x1", number(from.x));
    appendAttribute(line, "y1", number(from.y));
    appendAttribute(line, "x2", number(to.x));
    appendAttribute(line, "y2", number(to.y));
    appendAttribute(line, "stroke", colour(color.value_or(m_foreColor)));
    appendAttribute(line, "stroke-width", number(m_drawWidth * unitsPerPixelX()));
    appendAttribute(line, "stroke-linecap", "round");
    addShape(line + "/>", color.value_or(m_foreColor));
}

void SvgCanvas::PSet(CanvasPoint at, std::optional<Color> color)
{
    m_current = at;
    if (!finite(at))
        return;
    std::string circle = "<circle";
    appendAttribute(circle, "cx", number(at.x));
    appendAttribute(circle, "cy", number(at.y));
    appendAttribute(circle, "r", number(m_drawWidth * unitsPerPixelX() / 2.0));
    appendAttribute(circle, "fill", colour(color.value_or(m_foreColor)));
    addShape(circle + "/>", color.value_or(m_foreColor));
}

// SVG places text by its baseline, so the top-left corner moves down by the
// font's ascent.
void SvgCanvas::Print(std::string_view text)
{
    if (!finite(m_current))
        return;
    std::string element = "<text";
    appendAttribute(element, "x", number(m_current.x));
    appendAttribute(element, "y", number(m_current.y + m_page.fontAscentPixels * unitsPerPixelY()));
    appendAttribute(element, "font-family", escaped(m_page.fontFamily));
    appendAttribute(element, "font-size", number(m_page.fontPixelSize * unitsPerPixelY()));
    appendAttribute(element, "fill", colour(m_foreColor));
    appendAttribute(element, "xml:space", "preserve");
    m_shapes.push_back(element + ">" + escaped(text) + "</text>");
    m_groups.push_back({m_shapes.size() - 1, std::nullopt});
    m_penSet = false;
}

std::string SvgCanvas::header() const
{
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg";
    appendAttribute(svg, "xmlns", "http://www.w3.org/2000/svg");
    appendAttribute(svg, "version", "1.1");
    const SvgPage::Area area = m_page.area.value_or(SvgPage::Area{0.0, 0.0, kUnitWidth, kUnitHeight});
    appendAttribute(svg, "viewBox",
                    number(area.x)
                        .append(" ")
                        .append(number(area.y))
                        .append(" ")
                        .append(number(area.width))
                        .append(" ")
                        .append(number(area.height)));
    return svg + ">\n";
}

bool SvgCanvas::writesGroups() const
{
    const auto figures =
        std::count_if(m_groups.begin(), m_groups.end(), [](const Group &group) { return group.color.has_value(); });
    const auto first =
        std::find_if(m_groups.begin(), m_groups.end(), [](const Group &group) { return group.color.has_value(); });
    return figures > 1 || (figures == 1 && *first->color != kBlack);
}

std::string SvgCanvas::document() const
{
    std::string text = header();
    const bool grouped = writesGroups();
    auto group = m_groups.begin();
    bool open = false;
    for (std::size_t i = 0; i < m_shapes.size(); ++i) {
        for (; group != m_groups.end() && group->start == i; ++group) {
            if (open)
                text.append("</g>\n");
            open = grouped && group->color;
            if (open)
                text.append("<g stroke=\"" + colour(*group->color) + "\" fill=\"" + colour(*group->color) + "\">\n");
        }
        text.append(m_shapes[i]).append("\n");
    }
    return text + (open ? "</g>\n" : "") + "</svg>\n";
}

} // namespace zelbrook
