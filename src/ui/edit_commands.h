// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

enum class ActionId;

// The editing commands beyond the buttons: undo, redo, mirror, swap sides,
// a new pose, and the pose as text through the clipboard. Each has its key
// on the window, and the canvas offers them all in a context menu (right
// button or the Menu key), greyed out where they cannot act. With a run of
// keys selected, Mirror and Swap sides act on the current figure in each.
class EditCommands : public QObject
{
    Q_OBJECT

public:
    // What the window does for the commands that go beyond the document.
    struct WindowSide {
        std::function<void()> newPose;
        std::function<void()> copyPoseText;
        std::function<void()> pastePose;
        std::function<bool()> canPaste;
    };

    EditCommands(AnimationDocument &document, QWidget *window, QWidget *canvas, WindowSide side);

    // The context menu as it would show now.
    QMenu *menu() const { return m_menu; }
    // Another canvas offers the same menu.
    void watchCanvas(QWidget *canvas);
    // The run of keys selected where the keys show, if they do.
    void setSelectedKeys(std::function<std::optional<KeyRun>()> selected) { m_selected = std::move(selected); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(ActionId id, std::function<void()> run);
    // Mirror or swap sides: the figure made anew from itself, as one step.
    void changeFigure(Figure (*change)(const Figure &), Status (AnimationDocument::*inKeys)(KeyRun));
    void updateHistoryState();
    void updateState();

    AnimationDocument &m_document;
    QWidget *m_window;
    std::vector<QWidget *> m_canvases;
    WindowSide m_side;
    std::function<std::optional<KeyRun>()> m_selected;
    QMenu *m_menu;
    QAction *m_undo;
    QAction *m_redo;
    QAction *m_paste;
};

} // namespace zelbrook
