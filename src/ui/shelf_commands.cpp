// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_commands.h"

#include "action_table.h"

#include "pose_shelf_panel.h"
#include "timeline_commands.h"
#include "timeline_strip.h"

#include <QAction>
#include <QListView>
#include <QMenu>

namespace zelbrook {

ShelfCommands::ShelfCommands(AnimationDocument &document, TimelineCommands &timeline, QMenu *menu, Presenter presenter)
    : QObject(menu->parentWidget())
    , m_document(document)
    , m_timeline(timeline)
    , m_window(menu->parentWidget())
    , m_presenter(std::move(presenter))
    , m_folders(PoseShelf::standardFolders())
    , m_poses(makeAction(ActionId::Poses, m_window, m_window))
{
    connect(m_poses, &QAction::triggered, this, &ShelfCommands::showPoses);
    menu->addSeparator();
    menu->addAction(m_poses);
    m_timeline.strip()->addButton(m_poses);
}

PoseShelfPanel *ShelfCommands::panel()
{
    if (!m_panel) {
        m_panel = new PoseShelfPanel(m_document, m_folders, m_presenter, m_window);
        m_panel->setMoveInserted([this] { m_timeline.setShown(true); });
    }
    return m_panel;
}

QWidget *ShelfCommands::dockedPanel()
{
    PoseShelfPanel *docked = panel();
    docked->setWindowFlags(Qt::Widget);
    return docked;
}

void ShelfCommands::showPoses()
{
    if (m_timeline.isShown() && m_dockedShow)
        return m_dockedShow();
    // A panel the workspace's dock held is a window of its own again.
    if (m_panel && m_panel->parentWidget() != m_window) {
        m_panel->setParent(m_window, Qt::Tool);
        m_panel->reload();
    }
    // A panel opened again reads the folders again, for files that came or
    // went meanwhile.
    if (m_panel && !m_panel->isVisible())
        m_panel->reload();
    PoseShelfPanel *shown = panel();
    shown->show();
    shown->raise();
    shown->activateWindow();
    shown->poseList()->setFocus();
}

} // namespace zelbrook
