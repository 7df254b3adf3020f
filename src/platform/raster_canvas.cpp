// SPDX-License-Identifier: GPL-3.0-or-later
#include "raster_canvas.h"

#include "render/far_segment.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zelbrook {

namespace {

constexpr int kTextPixelSize = 11;
constexpr std::size_t kPrintedCacheSize = 8;

QRgb opaque(Color color) { return 0xFF000000u | color; }

// Cuts the segment down to the box. False when nothing of it lies inside, or
// when an end is not a finite number.
bool clipToBox(double &x0, double &y0, double &x1, double &y1, const Box &box)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return false;
    const std::optional<BoxCrossing> crossing = crossBox({x0, y0}, {x1, y1}, box);
    if (!crossing)
        return false;
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    x1 = x0 + crossing->leave * dx;
    y1 = y0 + crossing->leave * dy;
    x0 = x0 + crossing->enter * dx;
    y0 = y0 + crossing->enter * dy;
    return true;
}

} // namespace

RasterCanvas::RasterCanvas(int zoom, Background background)
    : m_zoom(std::clamp(zoom, 1, kMaximumZoom))
    , m_background(background)
    , m_image(kPixelWidth * m_zoom, kPixelHeight * m_zoom,
              background == Background::White ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied)
    , m_font(textFont())
{
    m_font.setPixelSize(kTextPixelSize * m_zoom);
    rebuildDot();
    Cls();
}

QFont RasterCanvas::textFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kTextPixelSize);
    return font;
}

void RasterCanvas::Cls()
{
    m_image.fill(m_background == Background::White ? opaque(m_backColor) : 0u);
    m_current = {};
}

double RasterCanvas::toPixelX(double x) const { return x * (m_image.width() / kUnitWidth); }
double RasterCanvas::toPixelY(double y) const { return y * (m_image.height() / kUnitHeight); }

// The window sets the pen before every redraw; the dot is made again only
// when the width really changes.
void RasterCanvas::setDrawWidth(int pixels)
{
    const int width = std::max(1, pixels);
    if (width == m_drawWidth && !m_dot.empty())
        return;
    m_drawWidth = width;
    rebuildDot();
}

// A dot is a filled square up to two pixels across and a disk beyond, kept
// as one span of pixels per row so that stamping it is a few fills.
void RasterCanvas::rebuildDot()
{
    m_dotSize = m_drawWidth * m_zoom;
    m_dot.clear();
    const double radius = m_dotSize / 2.0;
    for (int row = 0; row < m_dotSize; ++row) {
        if (m_dotSize <= 2) {
            m_dot.push_back({row, 0, m_dotSize});
            continue;
        }
        const double dy = row + 0.5 - radius;
        const double halfChord = std::sqrt(std::max(0.0, radius * radius - dy * dy));
        const int left = static_cast<int>(std::ceil(radius - halfChord - 0.5));
        const int right = m_dotSize - left;
        if (left < right)
            m_dot.push_back({row, left, right});
    }
}

RasterCanvas::Pixels RasterCanvas::pixels()
{
    return {reinterpret_cast<QRgb *>(m_image.bits()), m_image.bytesPerLine() / qsizetype(sizeof(QRgb)), m_image.width(),
            m_image.height()};
}

void RasterCanvas::stamp(const Pixels &target, int left, int top, QRgb rgb) const
{
    // The usual pen, two pixels, wholly inside: four stores and nothing else.
    if (m_dotSize == 2 && left >= 0 && top >= 0 && left + 2 <= target.width && top + 2 <= target.height) {
        QRgb *first = target.bits + top * target.stride + left;
        first[0] = first[1] = first[target.stride] = first[target.stride + 1] = rgb;
        return;
    }
    for (const Span &span : m_dot) {
        const int y = top + span.dy;
        if (y < 0 || y >= target.height)
            continue;
        const int from = std::max(0, left + span.left);
        const int to = std::min(target.width, left + span.right);
        QRgb *line = target.bits + y * target.stride;
        std::fill(line + from, line + std::max(from, to), rgb);
    }
}

// Centres the dot on a position given in pixels.
void RasterCanvas::stampAt(const Pixels &target, double px, double py, QRgb rgb) const
{
    const double margin = m_dotSize + 1.0;
    if (!(px > -margin && px < target.width + margin && py > -margin && py < target.height + margin))
        return;
    const double half = m_dotSize / 2.0;
    stamp(target, static_cast<int>(std::floor(px - half + 0.5)), static_cast<int>(std::floor(py - half + 0.5)), rgb);
}

void RasterCanvas::PSet(CanvasPoint at, std::optional<Color> color)
{
    m_current = at;
    stampAt(pixels(), toPixelX(at.x), toPixelY(at.y), opaque(color.value_or(m_foreColor)));
}

// Walks the pixels between the two ends (Bresenham) and stamps a dot at each,
// which gives round ends and the pen's width in every direction. The segment
// is first cut to the picture, so a far-away end costs nothing.
void RasterCanvas::Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color)
{
    m_current = to;
    double x0 = toPixelX(from.x), y0 = toPixelY(from.y);
    double x1 = toPixelX(to.x), y1 = toPixelY(to.y);
    const double margin = m_dotSize + 1.0;
    if (!clipToBox(x0, y0, x1, y1, {-margin, -margin, m_image.width() + margin, m_image.height() + margin}))
        return;
    const QRgb rgb = opaque(color.value_or(m_foreColor));
    const Pixels target = pixels();
    int x = static_cast<int>(std::floor(x0));
    int y = static_cast<int>(std::floor(y0));
    const int endX = static_cast<int>(std::floor(x1));
    const int endY = static_cast<int>(std::floor(y1));
    const int dx = std::abs(endX - x);
    const int dy = -std::abs(endY - y);
    const int stepX = x < endX ? 1 : -1;
    const int stepY = y < endY ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        stampAt(target, x + 0.5, y + 0.5, rgb);
        if (x == endX && y == endY)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void RasterCanvas::Print(std::string_view text)
{
    const double px = toPixelX(m_current.x);
    const double py = toPixelY(m_current.y);
    if (!(std::abs(px) < 1e6 && std::abs(py) < 1e6))
        return;
    blend(printed(text, m_foreColor), static_cast<int>(std::floor(px)), static_cast<int>(std::floor(py)));
}

// Text is rendered once and kept as its visible pixels: shaping the same
// line on every redraw would cost more than the whole figure.
const RasterCanvas::PrintedText &RasterCanvas::printed(std::string_view text, Color color)
{
    const auto it =
        std::ranges::find_if(m_printed, [&](const PrintedText &p) { return p.color == color && p.text == text; });
    if (it != m_printed.end())
        return *it;

    const QString string = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const QFontMetrics metrics(m_font);
    QImage glyphs(std::max(1, metrics.horizontalAdvance(string) + metrics.maxWidth()), std::max(1, metrics.height()),
                  QImage::Format_ARGB32_Premultiplied);
    glyphs.fill(Qt::transparent);
    {
        QPainter painter(&glyphs);
        painter.setFont(m_font);
        painter.setPen(QColor::fromRgb(opaque(color)));
        painter.drawText(QPointF(0, metrics.ascent()), string);
    }
    PrintedText entry{std::string(text), color, {}, glyphs.size()};
    for (int y = 0; y < glyphs.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(glyphs.constScanLine(y));
        for (int x = 0; x < glyphs.width(); ++x)
            if (qAlpha(row[x]) != 0)
                entry.pixels.push_back({x, y, row[x]});
    }
    if (m_printed.size() == kPrintedCacheSize)
        m_printed.erase(m_printed.begin());
    m_printed.push_back(std::move(entry));
    return m_printed.back();
}

// Draws premultiplied text pixels over the picture ("source over"). An
// opaque picture's alpha stays 255, as 255 * keep / 255 is keep.
void RasterCanvas::blend(const PrintedText &printed, int left, int top)
{
    const Pixels target = pixels();
    const QRect picture(0, 0, target.width, target.height);
    const bool whollyInside = picture.contains(QRect(QPoint(left, top), printed.size));
    for (const GlyphPixel &glyph : printed.pixels) {
        const int x = left + glyph.x;
        const int y = top + glyph.y;
        if (!whollyInside && !picture.contains(x, y))
            continue;
        QRgb &d = target.bits[y * target.stride + x];
        const QRgb s = glyph.color;
        const int keep = 255 - qAlpha(s);
        d = keep == 0 ? s
                      : qRgba(qRed(s) + (qRed(d) * keep + 127) / 255, qGreen(s) + (qGreen(d) * keep + 127) / 255,
                              qBlue(s) + (qBlue(d) * keep + 127) / 255, qAlpha(s) + (qAlpha(d) * keep + 127) / 255);
    }
}

} // namespace zelbrook
