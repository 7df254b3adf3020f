// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/slider.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace zelbrook {

Slider::Slider(SliderRange range, std::int16_t start, QWidget *parent)
    : QScrollBar(Qt::Horizontal, parent)
    , m_range(range)
{
    Q_ASSERT(range.minimum <= range.maximum);
    Q_ASSERT(range.contains(start));
    setRange(range.minimum, range.maximum);
    QScrollBar::setValue(start);
    setSteps(1, 1);
    // A scroll bar inverts its arrow keys, so that Right would lower the value.
    setInvertedControls(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractSlider::valueChanged, this, &Slider::onValueChanged);
    connect(this, &QAbstractSlider::sliderPressed, this, &Slider::onDragStarted);
    connect(this, &QAbstractSlider::sliderReleased, this, &Slider::onDragEnded);
}

std::int16_t Slider::Value() const
{
    // The range is signed 16-bit, so the value always fits.
    return static_cast<std::int16_t>(value());
}

bool Slider::setValue(std::int16_t value)
{
    if (!m_range.contains(value))
        return false;
    QScrollBar::setValue(value);
    return true;
}

void Slider::setSteps(int arrowStep, int pageStep)
{
    setSingleStep(arrowStep);
    setPageStep(pageStep);
}

void Slider::onValueChanged()
{
    // Tracking is on, so a drag changes the value at every step.
    if (isSliderDown())
        emit scrolled();
    else
        emit changed();
}

void Slider::onDragStarted() { m_dragStart = Value(); }

void Slider::onDragEnded()
{
    if (Value() != m_dragStart)
        emit changed();
}

void Slider::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

} // namespace zelbrook
