// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/slider_position.h"

#include <QScrollBar>

#include <cstdint>

namespace zelbrook {

// A horizontal slider with a signed 16-bit value inside a fixed range.
//
// changed() follows every change of the value, by the user or by code, and
// is emitted inside the call that made it; setting the value it already holds
// emits nothing. While the user drags the thumb each step emits scrolled()
// instead, and letting go emits one changed() when the value ends elsewhere
// than where the drag began; a drag back to its start emits none.
class Slider : public QScrollBar
{
    Q_OBJECT

public:
    Slider(SliderRange range, std::int16_t start, QWidget *parent = nullptr);

    std::int16_t Value() const;
    SliderRange range() const { return m_range; }

    // False, and nothing changes, when the value lies outside the range.
    [[nodiscard]] bool setValue(std::int16_t value);
    void setSteps(int arrowStep, int pageStep);

signals:
    void changed();
    void scrolled();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void onValueChanged();
    void onDragStarted();
    void onDragEnded();

    SliderRange m_range;
    std::int16_t m_dragStart = 0;
};

} // namespace zelbrook
