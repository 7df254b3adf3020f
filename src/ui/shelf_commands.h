// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose_shelf.h"

#include "model/animation_document.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

class PoseShelfPanel;
class TimelineCommands;

// The Poses command (Ctrl+Shift+P, a button in the timeline strip and a
// place in the canvas's menu) shows the shelf's panel, made the first time
// it is asked for.
class ShelfCommands : public QObject
{
    Q_OBJECT

public:
    using Presenter = std::function<void(const QString &text)>;

    // The panel belongs to the menu's window.
    ShelfCommands(AnimationDocument &document, TimelineCommands &timeline, QMenu *menu, Presenter presenter);

    QAction *posesAction() const { return m_poses; }
    // Shows the panel, brought to the front with the focus on its poses.
    void showPoses();
    // The panel, made now if it was not; for tests, the shelf's folders
    // can be given before it is made.
    PoseShelfPanel *panel();
    // The panel taken out of its own window, into the workspace's dock.
    QWidget *dockedPanel();
    // How the panel shows while the workspace is the window's face.
    void setDockedShow(std::function<void()> show) { m_dockedShow = std::move(show); }
    void setFolders(const PoseShelf::Folders &folders) { m_folders = folders; }

private:
    AnimationDocument &m_document;
    TimelineCommands &m_timeline;
    QWidget *m_window;
    Presenter m_presenter;
    PoseShelf::Folders m_folders;
    QAction *m_poses;
    PoseShelfPanel *m_panel = nullptr;
    std::function<void()> m_dockedShow;
};

} // namespace zelbrook
