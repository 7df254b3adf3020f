// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_controls.h"

#include "control_table.h"
#include "slider_binding.h"

#include "platform/canvas_widget.h"
#include "platform/slider.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zelbrook {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QRect pixels(const ControlRow &row)
{
    return {row.left / kTwipsPerPixel, row.top / kTwipsPerPixel, row.width / kTwipsPerPixel,
            row.height / kTwipsPerPixel};
}

// A line of one pixel, both of its end points included.
QRect linePixels(const ControlRow &row)
{
    const QRect r = pixels(row);
    return {r.x(), r.y(), r.width() + 1, r.height() + 1};
}

// The read-out boxes are 25 pixels wide; condensed, "-180" fits with room.
QLineEdit *createReadOut(QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont font = parent->font();
    font.setStretch(QFont::Condensed);
    box->setFont(font);
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(mid); padding: 0px; }"));
    return box;
}

Slider *createSlider(FieldId field, QWidget *parent)
{
    const SliderBinding &binding = sliderBinding(field);
    auto *slider = new Slider(*poseField(field).range, binding.start, parent);
    slider->setSteps(1, binding.pageStep);
    return slider;
}

// None of the buttons is the window's default button.
QPushButton *createButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

QFrame *createLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

// DejaVu Sans is wide; at this size every label, button text and read-out a
// slider can produce fits its box.
QFont windowFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    return font;
}

} // namespace

WindowControls::WindowControls(QWidget *window, Face face)
    : m_window(window)
    , m_face(face)
{
    window->setFont(windowFont());
    for (const ControlRow &row : controlTable()) {
        if (face == Face::SliderPanel && !panelPlace(row))
            continue;
        QWidget *widget = create(row);
        widget->setObjectName(toQString(row.name));
        widget->setGeometry(placeOf(row));
    }
    // A slider is drawn over the labels it overlaps, so every pixel of it
    // takes the mouse.
    for (Slider *slider : m_sliders) {
        if (slider)
            slider->raise();
    }
    setTabOrder();
}

QRect WindowControls::placeOf(const ControlRow &row) const
{
    ControlRow placed = row;
    if (m_face == Face::SliderPanel) {
        const PanelPlace place = *panelPlace(row);
        placed.left = place.left;
        placed.top = place.top;
        // Every line of the panel is as wide as the column's own lines.
        constexpr int kColumnLineWidth = 2400;
        placed.width = row.kind == ControlKind::Line ? kColumnLineWidth : row.width;
    }
    return row.kind == ControlKind::Line ? linePixels(placed) : pixels(placed);
}

QWidget *WindowControls::create(const ControlRow &row)
{
    switch (row.kind) {
    case ControlKind::Canvas:
        return m_canvas = new CanvasWidget(m_window);
    case ControlKind::Slider:
        return m_sliders[index(*row.field)] = createSlider(*row.field, m_window);
    case ControlKind::ReadOut:
        return m_readOuts[index(*row.field)] = createReadOut(m_window);
    case ControlKind::Label:
        return new QLabel(toQString(row.text), m_window);
    case ControlKind::Button:
        return createButton(toQString(row.text), m_window);
    case ControlKind::Line:
        return createLine(m_window);
    }
    Q_UNREACHABLE();
}

// Tab order follows the table; labels and lines take no focus.
void WindowControls::setTabOrder()
{
    QWidget *previous = nullptr;
    for (const ControlRow &row : controlTable()) {
        auto *widget = m_window->findChild<QWidget *>(toQString(row.name));
        if (row.tab < 0 || !widget || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, widget);
        previous = widget;
    }
}

QPushButton *WindowControls::button(std::string_view name) const
{
    return m_window->findChild<QPushButton *>(toQString(name));
}

} // namespace zelbrook
