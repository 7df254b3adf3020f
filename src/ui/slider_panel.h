#pragma once

#include "model/pose_document.h"

#include <QObject>

namespace zelbrook {

class WindowControls;

// The nineteen sliders and their read-out boxes, bound to the document. A
// slider that moves asks the document for the change and writes its
// read-out; every other change of the document moves the sliders and
// read-outs of the fields it touched, without coming back to the slider
// that started it. A thumb drag, or an arrow key held down, is one step of
// the history. Enter in a read-out box applies the value typed there,
// Escape puts the current value back.
class SliderPanel : public QObject
{
    Q_OBJECT

public:
    SliderPanel(PoseDocument &document, const WindowControls &controls, QObject *parent = nullptr);

    // Sets the sixteen synced sliders from the figure, in their fixed order,
    // and writes their read-outs. False at the first slider that cannot hold
    // its field: that one and the later ones stay as they were.
    bool syncControls();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void bindSlider(const PoseField &field);
    void bindReadOut(const PoseField &field);
    // Applies the text of a read-out box through its slider as one step;
    // text that no position of the slider can show is refused with a beep.
    void applyTypedValue(const PoseField &field);
    void follow(const FigureChange &change);
    bool showField(const PoseField &field, const void *source);
    void writeReadOut(const PoseField &field);
    void clearReadOut(const PoseField &field);
    QString readOutText(const PoseField &field) const;

    PoseDocument &m_document;
    const WindowControls &m_controls;
    // Set while the panel moves sliders itself, so that their notifications
    // are not taken for the user's.
    bool m_following = false;
};

} // namespace zelbrook
