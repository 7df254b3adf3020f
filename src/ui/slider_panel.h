#pragma once

#include "model/pose_document.h"

#include <QObject>

namespace zelbrook {

class WindowControls;

// The nineteen sliders and their read-out boxes, bound to the document. A
// slider that moves asks the document for the change and writes its
// read-out; every other change of the document moves the sliders and
// read-outs of the fields it touched, without coming back to the slider
// that started it.
class SliderPanel : public QObject
{
    Q_OBJECT

public:
    SliderPanel(PoseDocument &document, const WindowControls &controls, QObject *parent = nullptr);

    // Sets the sixteen synced sliders from the figure, in their fixed order,
    // and writes their read-outs. False at the first slider that cannot hold
    // its field: that one and the later ones stay as they were.
    bool syncControls();

private:
    void bindSlider(const PoseField &field);
    void follow(const FigureChange &change);
    bool showField(const PoseField &field, const void *source);
    void clearReadOut(const PoseField &field);
    QString readOutText(const PoseField &field) const;

    PoseDocument &m_document;
    const WindowControls &m_controls;
    // Set while the panel moves sliders itself, so that their notifications
    // are not taken for the user's.
    bool m_following = false;
};

} // namespace zelbrook
