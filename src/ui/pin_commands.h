// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "render/scene_picker.h"

#include <QObject>

#include <optional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

class CanvasPosing;

// The commands on the current figure's pinned hands and feet. Pin pins or
// frees one end: the one under the pointer for P, the one right-clicked for
// the canvas's menu, else the hand or foot last pressed; its text names the
// end and what it will do ("Unpin left foot"). Unpin all frees the four.
// Reach, a check, makes every drag of a hand or a foot reach for the mouse
// as a drag with Shift does. Each change is one step.
class PinCommands : public QObject
{
    Q_OBJECT

public:
    PinCommands(AnimationDocument &document, QWidget *window, QMenu *menu, CanvasPosing &posing);

    // P and the menu work on another canvas too, and Reach drags there.
    void watchPosing(CanvasPosing &posing);
    QAction *reach() const { return m_reach; }
    // Pins the end, or frees it where it is pinned.
    void togglePin(Limb end);
    // The end Pin acts on.
    std::optional<Limb> aimedEnd() const { return m_end; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    CanvasPosing *posingOf(QObject *area) const;
    // What a press or a right-click found: a hand or a foot is the end that
    // Pin acts on, anything else leaves Pin nothing to act on.
    void aimAt(const std::optional<ScenePick> &pick);
    void pinUnderPointer(const CanvasPosing &posing);
    void updateState();

    AnimationDocument &m_document;
    QAction *m_pin;
    QAction *m_unpinAll;
    QAction *m_reach;
    std::optional<Limb> m_end;
    std::vector<CanvasPosing *> m_posings;
};

} // namespace zelbrook
