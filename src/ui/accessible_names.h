// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose_field.h"

#include <QString>

#include <span>
#include <string_view>

class QWidget;

namespace zelbrook {
class WindowControls;
}

namespace zelbrook {

// How a control's value appears in the canvas's description.
enum class Described {
    Not,             // not part of the pose
    Position,        // the slider's position, a whole number
    PositionDegrees, // the slider's position, in degrees
    Value,           // the field's value in general number form
    ValueDegrees,    // the field's value converted to degrees
};

// What a screen reader calls a field's slider. Its read-out box is called
// after it, with " value" added.
struct AccessibleName {
    FieldId field;
    std::string_view name;
    Described described;
};

std::span<const AccessibleName> accessibleNames();

// The canvas's description: every field of the pose in words, as the
// sliders show it ("Body angle 90 degrees; Body length 35; ...").
QString canvasDescription(const Figure &figure);

// Sets the canvas's description from the pose while assistive technology
// listens; otherwise a redraw does not pay for the text. The canvas taking
// the focus redraws, so a screen reader that starts later finds it current
// there.
void describeCanvas(QWidget *canvas, const Figure &figure);

// Names a view of the picture as the canvas is named, and presents it to a
// screen reader as a picture.
void presentAsPicture(QWidget *picture);

// Gives the window's controls their accessible names; the buttons are
// called by their texts, and the canvas is presented as a picture.
void applyAccessibleNames(const WindowControls &controls);

} // namespace zelbrook
