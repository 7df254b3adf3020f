// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose_field.h"

#include <array>
#include <string_view>

class QLineEdit;
class QRect;
class QPushButton;
class QWidget;

namespace zelbrook {

class CanvasWidget;
class Slider;

// The controls of the editor's window, built from the control table as
// children of the window, each carrying its name as its object name, in the
// table's tab order. The window takes the font at which every text fits its
// box. The workspace's panel of sliders is built from the same table: the
// sliders, read-outs, labels and lines, without the canvas and the buttons.
class WindowControls
{
public:
    enum class Face { Window, SliderPanel };

    explicit WindowControls(QWidget *window, Face face = Face::Window);

    CanvasWidget *canvas() const { return m_canvas; }
    // The slider and the read-out box of a field that has a slider.
    Slider *slider(FieldId field) const { return m_sliders[index(field)]; }
    QLineEdit *readOut(FieldId field) const { return m_readOuts[index(field)]; }
    QPushButton *button(std::string_view name) const;

private:
    static std::size_t index(FieldId field) { return static_cast<std::size_t>(field); }
    QWidget *create(const struct ControlRow &row);
    QRect placeOf(const ControlRow &row) const;
    void setTabOrder();

    QWidget *m_window;
    Face m_face;
    CanvasWidget *m_canvas = nullptr;
    std::array<Slider *, kFieldCount> m_sliders{};
    std::array<QLineEdit *, kFieldCount> m_readOuts{};
};

} // namespace zelbrook
