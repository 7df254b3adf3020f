// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/figure.h"
#include "render/canvas.h"

#include <QFont>
#include <QImage>
#include <QString>

#include <string>
#include <vector>

namespace zelbrook {

// The figure's canvas as a picture in memory: the 493 x 397 pixel drawing
// area under a scale of 500 x 400 canvas units, white, with a black pen.
// A zoom factor makes the picture, the pen, the dots and the text that many
// times larger in each direction, for print.
class RasterCanvas : public Canvas
{
public:
    static constexpr int kPixelWidth = 493;
    static constexpr int kPixelHeight = 397;
    static constexpr double kUnitWidth = 500.0;
    static constexpr double kUnitHeight = 400.0;
    // The canvas control's outer size in window units: 7455 twips at 180/11
    // twips a unit across, 6015 twips at 253/16 twips a unit down.
    static constexpr float kWindowUnitWidth = static_cast<float>(7455.0 * 11.0 / 180.0);
    static constexpr float kWindowUnitHeight = static_cast<float>(6015.0 * 16.0 / 253.0);
    static constexpr int kMaximumZoom = 8;
    // A transparent canvas keeps its picture premultiplied, so that the
    // text's anti-aliased edges keep their coverage as alpha.
    enum class Background { White, Transparent };

    explicit RasterCanvas(int zoom = 1, Background background = Background::White);

    void Cls() override;
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color = std::nullopt) override;
    void PSet(CanvasPoint at, std::optional<Color> color = std::nullopt) override;
    void setCurrentX(float x) override { m_current.x = x; }
    void setCurrentY(float y) override { m_current.y = y; }
    void Print(std::string_view text) override;
    float Width() const override { return kWindowUnitWidth; }
    float Height() const override { return kWindowUnitHeight; }
    int DrawWidth() const override { return m_drawWidth; }
    void setDrawWidth(int pixels) override;
    bool AutoRedraw() const override { return m_autoRedraw; }
    void setAutoRedraw(bool on) override { m_autoRedraw = on; }

    CanvasPoint current() const { return m_current; }
    int zoom() const { return m_zoom; }
    Background background() const { return m_background; }
    // The picture of the drawing area.
    const QImage &Image() const { return m_image; }
    // The font that Print uses, already scaled by the zoom.
    const QFont &font() const { return m_font; }

    // The canvas's text font at zoom 1.
    static QFont textFont();

private:
    struct Span {
        int dy;
        int left;
        int right; // one past the last pixel
    };
    // The picture's memory, taken once per drawing operation: taking it
    // detaches the picture from any copy that was handed out.
    struct Pixels {
        QRgb *bits;
        qsizetype stride; // pixels from one row to the next
        int width;
        int height;
    };
    // One pixel of rendered text, premultiplied, relative to the text's
    // top-left corner; fully transparent pixels are left out.
    struct GlyphPixel {
        int x;
        int y;
        QRgb color;
    };
    struct PrintedText {
        std::string text;
        Color color;
        std::vector<GlyphPixel> pixels;
        QSize size;
    };

    double toPixelX(double x) const;
    double toPixelY(double y) const;
    Pixels pixels();
    void rebuildDot();
    void stamp(const Pixels &target, int left, int top, QRgb rgb) const;
    void stampAt(const Pixels &target, double px, double py, QRgb rgb) const;
    const PrintedText &printed(std::string_view text, Color color);
    void blend(const PrintedText &printed, int left, int top);

    int m_zoom;
    Background m_background;
    QImage m_image;
    QFont m_font;
    CanvasPoint m_current;
    int m_drawWidth = kDefaultPenWidth;
    bool m_autoRedraw = false;
    Color m_foreColor = kBlack;
    Color m_backColor = kWhite;
    std::vector<Span> m_dot; // the dot's rows, relative to its top-left pixel
    int m_dotSize = 0;       // pixels across
    std::vector<PrintedText> m_printed;
};

} // namespace zelbrook
