// SPDX-License-Identifier: GPL-3.0-or-later
#include "canvas_widget.h"

#include <QPainter>

#include <cstdint>
#include <string>
#include <vector>

namespace zelbrook {

namespace {
constexpr int kBorder = 2;
}

// The 1x canvas, which on a denser screen also keeps every drawing
// operation since the last clear, so that the same drawing can be made again
// at the screen's zoom. At a ratio of 1 it keeps nothing, and a redraw costs
// what it always did.
class CanvasWidget::RecordedCanvas : public RasterCanvas
{
public:
    void Cls() override
    {
        RasterCanvas::Cls();
        m_steps.clear();
        m_texts.clear();
        m_penAtClear = DrawWidth();
        m_whole = m_recording;
        ++m_generation;
    }
    void Line(CanvasPoint from, CanvasPoint to, std::optional<Color> color = std::nullopt) override
    {
        record(Kind::Line, color, from, to);
        RasterCanvas::Line(from, to, color);
    }
    void PSet(CanvasPoint at, std::optional<Color> color = std::nullopt) override
    {
        record(Kind::PSet, color, at);
        RasterCanvas::PSet(at, color);
    }
    void setCurrentX(float x) override
    {
        record(Kind::CurrentX, {}, {x, 0.0f});
        RasterCanvas::setCurrentX(x);
    }
    void setCurrentY(float y) override
    {
        record(Kind::CurrentY, {}, {0.0f, y});
        RasterCanvas::setCurrentY(y);
    }
    void Print(std::string_view text) override
    {
        if (m_recording)
            m_texts.append(text);
        record(Kind::Print, static_cast<std::uint32_t>(text.size()));
        RasterCanvas::Print(text);
    }
    void setDrawWidth(int pixels) override
    {
        record(Kind::DrawWidth, static_cast<std::uint32_t>(pixels));
        RasterCanvas::setDrawWidth(pixels);
    }

    // Changes with every drawing operation.
    quint64 generation() const { return m_generation; }

    // Starting to record mid-picture leaves the picture unrecorded until the
    // next clear.
    void setRecording(bool on)
    {
        if (on == m_recording)
            return;
        m_recording = on;
        m_whole = false;
        m_steps.clear();
        m_texts.clear();
    }
    bool holdsWholePicture() const { return m_whole; }

    // Clears the target and draws on it what this canvas holds.
    void replay(Canvas &target) const
    {
        target.setDrawWidth(m_penAtClear);
        target.Cls();
        std::string_view texts = m_texts;
        for (const Step &step : m_steps) {
            const std::optional<Color> color = step.hasValue ? std::optional(step.value) : std::nullopt;
            switch (step.kind) {
            case Kind::Line:
                target.Line(step.at, step.to, color);
                break;
            case Kind::PSet:
                target.PSet(step.at, color);
                break;
            case Kind::CurrentX:
                target.setCurrentX(step.at.x);
                break;
            case Kind::CurrentY:
                target.setCurrentY(step.at.y);
                break;
            case Kind::Print:
                target.Print(texts.substr(0, step.value));
                texts.remove_prefix(step.value);
                break;
            case Kind::DrawWidth:
                target.setDrawWidth(static_cast<int>(step.value));
                break;
            }
        }
    }

private:
    enum class Kind : std::uint8_t { Line, PSet, CurrentX, CurrentY, Print, DrawWidth };
    // One operation in 24 bytes, as the head's dots make hundreds of them
    // at every redraw. The value is the colour, the pen width or the
    // printed text's length.
    struct Step {
        Kind kind;
        bool hasValue;
        std::uint32_t value;
        CanvasPoint at;
        CanvasPoint to;
    };

    // Recording before drawing lets each drawing call end in a jump to the
    // canvas's own, so that not recording costs next to nothing.
    void record(Kind kind, std::optional<std::uint32_t> value, CanvasPoint at = {}, CanvasPoint to = {})
    {
        ++m_generation;
        if (m_recording)
            append({kind, value.has_value(), value.value_or(0), at, to});
    }
    Q_NEVER_INLINE void append(const Step &step) { m_steps.push_back(step); }

    std::vector<Step> m_steps;
    std::string m_texts; // every printed text, one after the other
    int m_penAtClear = kDefaultPenWidth;
    quint64 m_generation = 0;
    bool m_recording = false;
    bool m_whole = false; // recorded since the last clear
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
    m_canvas->setRecording(drawingRatio() != 1.0);
}

CanvasWidget::~CanvasWidget() = default;

RasterCanvas &CanvasWidget::canvas() { return *m_canvas; }

const RasterCanvas &CanvasWidget::canvas() const { return *m_canvas; }

qreal CanvasWidget::drawingRatio() const { return m_ratioOverride > 0.0 ? m_ratioOverride : devicePixelRatioF(); }

void CanvasWidget::setDevicePixelRatioOverride(qreal ratio)
{
    m_ratioOverride = ratio;
    m_canvas->setRecording(drawingRatio() != 1.0);
    update();
}

int CanvasWidget::zoomForRatio(qreal ratio) { return ScaledPicture::zoomFor(ratio); }

// A picture drawn before the screen needed one (the window has just moved
// to a denser screen) is shown enlarged until the next redraw.
const QImage &CanvasWidget::screenImage()
{
    const qreal ratio = drawingRatio();
    m_canvas->setRecording(ratio != 1.0);
    if (ratio == 1.0)
        return m_canvas->Image();
    if (!m_canvas->holdsWholePicture()) {
        m_enlarged =
            m_canvas->Image().scaled(ScaledPicture::sizeAt(ratio), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return m_enlarged;
    }
    m_enlarged = QImage();
    return m_scaled.image(ratio, m_canvas->generation(), [this](Canvas &target) { m_canvas->replay(target); });
}

void CanvasWidget::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const qreal ratio = drawingRatio();
    const QImage &image = screenImage();
    // At the screen's own ratio the picture's device pixels land one to one
    // on the screen's.
    painter.drawImage(QRectF(contentsRect().topLeft(), QSizeF(ScaledPicture::sizeAt(ratio)) / ratio), image);
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
