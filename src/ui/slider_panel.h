// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>

class QLineEdit;

namespace zelbrook {

class WindowControls;

// The nineteen sliders and their read-out boxes, bound to the document. A
// slider that moves asks the document for the change and writes its
// read-out; every other change of the document moves the sliders and
// read-outs of the fields it touched, without coming back to the slider
// that started it. A thumb drag, or an arrow key held down, is one step of
// the history. Enter in a read-out box, or leaving it, applies the value
// typed there; Escape puts back what the box showed.
class SliderPanel : public QObject
{
    Q_OBJECT

public:
    SliderPanel(AnimationDocument &document, const WindowControls &controls, QObject *parent = nullptr);

    // Sets the sixteen synced sliders from the figure, in their fixed order,
    // and writes their read-outs. False at the first slider that cannot hold
    // its field: that one and the later ones stay as they were.
    bool syncControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindSlider(const PoseField &field);
    void bindReadOut(const PoseField &field);
    // Enter and Escape in a read-out box; false for every other key.
    bool readOutKey(QLineEdit &box, int key);
    // Gives the document the value typed into a read-out box as one step.
    void applyTypedValue(const PoseField &field);
    void follow(const FigureChange &change);
    bool showField(const PoseField &field, const void *source);
    void writeReadOut(const PoseField &field);
    void clearReadOut(const PoseField &field);
    // Shows the current value again, or nothing in a box that is still
    // empty because its slider has not moved since start-up.
    void restoreReadOut(const PoseField &field);
    QString readOutText(const PoseField &field) const;

    AnimationDocument &m_document;
    const WindowControls &m_controls;
    // Set while the panel moves sliders itself, so that their notifications
    // are not taken for the user's.
    bool m_following = false;
    FieldSet m_blank;
};

} // namespace zelbrook
