#pragma once

#include "model/pose.h"

#include <QString>

#include <span>
#include <string_view>

class QWidget;

namespace zelbrook {

// How a control's value appears in the canvas's description.
enum class Described {
    Not,             // not part of the pose
    Position,        // the slider's position, a whole number
    PositionDegrees, // the slider's position, in degrees
    Value,           // the field's value in general number form
    ValueDegrees,    // the field's value converted to degrees
};

// What a screen reader calls one control, by its object name. Each slider's
// read-out box is called after its slider, with " value" added.
struct AccessibleName {
    std::string_view object;
    std::string_view name;
    Described described;
};

std::span<const AccessibleName> accessibleNames();

// The canvas's description: every field of the pose in words, as the
// sliders show it ("Body angle 90 degrees; Body length 35; ...").
QString canvasDescription(const Pose &pose);

// Sets the canvas's description from the pose while assistive technology
// listens; otherwise a redraw does not pay for the text. The canvas taking
// the focus redraws, so a screen reader that starts later finds it current
// there.
void describeCanvas(QWidget *canvas, const Pose &pose);

// Gives the window's controls, found by object name, their accessible
// names; the buttons are called by their texts, and the canvas is presented
// as a picture.
void applyAccessibleNames(QWidget *window);

} // namespace zelbrook
