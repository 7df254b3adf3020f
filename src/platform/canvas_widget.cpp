#include "canvas_widget.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace zelbrook {

namespace {
constexpr int kBorder = 2;
}

// The 1x canvas, which also keeps every drawing operation since the last
// clear, so that the same drawing can be made again at another zoom: for a
// denser screen, or when the window moves to one. Keeping the list costs
// little next to the drawing itself.
class CanvasWidget::RecordedCanvas : public RasterCanvas
{
public:
    void Cls() override
    {
        RasterCanvas::Cls();
        m_steps.clear();
        m_texts.clear();
        m_penAtClear = DrawWidth();
        ++m_generation;
    }
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color = std::nullopt) override
    {
        RasterCanvas::Line(from, to, color);
        record({Kind::Line, from, to, color});
    }
    void PSet(CanvasPoint at, std::optional<Color> color = std::nullopt) override
    {
        RasterCanvas::PSet(at, color);
        record({Kind::PSet, at, {}, color});
    }
    void setCurrentX(float x) override
    {
        RasterCanvas::setCurrentX(x);
        record({Kind::CurrentX, {x, 0.0f}});
    }
    void setCurrentY(float y) override
    {
        RasterCanvas::setCurrentY(y);
        record({Kind::CurrentY, {0.0f, y}});
    }
    void Print(std::string_view text) override
    {
        RasterCanvas::Print(text);
        record({Kind::Print, {}, {}, {}, m_texts.size(), text.size()});
        m_texts.append(text);
    }
    void setDrawWidth(int pixels) override
    {
        RasterCanvas::setDrawWidth(pixels);
        record({Kind::DrawWidth, {}, {}, {}, static_cast<std::size_t>(pixels)});
    }

    // Changes with every drawing operation.
    quint64 generation() const { return m_generation; }

    // Clears the target and draws on it what this canvas holds.
    void replay(Canvas &target) const
    {
        target.setDrawWidth(m_penAtClear);
        target.Cls();
        for (const Step &step : m_steps)
            replayStep(step, target);
    }

private:
    enum class Kind { Line, PSet, CurrentX, CurrentY, Print, DrawWidth };
    struct Step {
        Kind kind;
        CanvasPoint at;
        CanvasPoint to = {};
        std::optional<Color> color = {};
        std::size_t number = 0; // the pen width, or where the text starts
        std::size_t length = 0; // the text's length
    };

    void record(const Step &step)
    {
        m_steps.push_back(step);
        ++m_generation;
    }

    void replayStep(const Step &step, Canvas &target) const
    {
        switch (step.kind) {
        case Kind::Line:
            return target.Line(step.at, step.to, step.color);
        case Kind::PSet:
            return target.PSet(step.at, step.color);
        case Kind::CurrentX:
            return target.setCurrentX(step.at.x);
        case Kind::CurrentY:
            return target.setCurrentY(step.at.y);
        case Kind::Print:
            return target.Print(std::string_view(m_texts).substr(step.number, step.length));
        case Kind::DrawWidth:
            return target.setDrawWidth(static_cast<int>(step.number));
        }
    }

    std::vector<Step> m_steps;
    std::string m_texts; // every printed text, one after the other
    int m_penAtClear = kDefaultDrawWidth;
    quint64 m_generation = 0;
};

CanvasWidget::CanvasWidget(QWidget *parent)
    : QFrame(parent)
    , m_canvas(std::make_unique<RecordedCanvas>())
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(RasterCanvas::kPixelWidth + 2 * kBorder, RasterCanvas::kPixelHeight + 2 * kBorder);
}

CanvasWidget::~CanvasWidget() = default;

RasterCanvas &CanvasWidget::canvas() { return *m_canvas; }

const RasterCanvas &CanvasWidget::canvas() const { return *m_canvas; }

qreal CanvasWidget::drawingRatio() const { return m_ratioOverride > 0.0 ? m_ratioOverride : devicePixelRatioF(); }

void CanvasWidget::setDevicePixelRatioOverride(qreal ratio)
{
    m_ratioOverride = ratio;
    update();
}

int CanvasWidget::zoomForRatio(qreal ratio)
{
    // A ratio a rounding error above a whole number is that number.
    const int zoom = static_cast<int>(std::ceil(ratio - 1e-6));
    return std::clamp(zoom, 1, RasterCanvas::kMaximumZoom);
}

const QImage &CanvasWidget::screenImage()
{
    const qreal ratio = drawingRatio();
    if (ratio == 1.0)
        return m_canvas->Image();
    const int zoom = zoomForRatio(ratio);
    const QImage &drawn = zoom == 1 ? m_canvas->Image() : zoomedImage(zoom);
    if (ratio == zoom)
        return drawn;
    if (m_reducedRatio != ratio || m_reducedGeneration != m_canvas->generation()) {
        const QSize device(qRound(RasterCanvas::kPixelWidth * ratio), qRound(RasterCanvas::kPixelHeight * ratio));
        m_reduced = drawn.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_reducedRatio = ratio;
        m_reducedGeneration = m_canvas->generation();
    }
    return m_reduced;
}

const QImage &CanvasWidget::zoomedImage(int zoom)
{
    if (!m_zoomed || m_zoomed->zoom() != zoom) {
        m_zoomed.emplace(zoom);
        m_zoomedGeneration.reset();
    }
    if (m_zoomedGeneration != m_canvas->generation()) {
        m_canvas->replay(*m_zoomed);
        m_zoomedGeneration = m_canvas->generation();
    }
    return m_zoomed->Image();
}

void CanvasWidget::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const qreal ratio = drawingRatio();
    const QImage &image = screenImage();
    // At the screen's own ratio the picture's device pixels land one to one
    // on the screen's.
    painter.drawImage(QRectF(contentsRect().topLeft(), QSizeF(image.size()) / ratio), image);
    if (hasFocus())
        paintFocusFrame(painter);
}

// The focus shows on the border, so that the picture on screen stays exactly
// the one that is copied and saved.
void CanvasWidget::paintFocusFrame(QPainter &painter) const
{
    QPen pen(palette().color(QPalette::Highlight), kBorder);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(kBorder / 2.0, kBorder / 2.0, -kBorder / 2.0, -kBorder / 2.0));
}

void CanvasWidget::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    update();
    emit gotFocus();
}

void CanvasWidget::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    update();
}

} // namespace zelbrook
