// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_faces.h"

#include "workspace_window.h"

#include "ui/canvas_posing.h"
#include "ui/edit_commands.h"
#include "ui/figure_commands.h"
#include "ui/figures_list.h"
#include "ui/form1.h"
#include "ui/refusals.h"
#include "ui/shelf_commands.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include "platform/canvas_widget.h"

#include <QApplication>

namespace zelbrook {

WindowFaces::WindowFaces(Form1 &poser)
    : QObject(&poser)
    , m_poser(poser)
{
    connect(&Refusals::instance(), &Refusals::refused, this, &WindowFaces::refuse);
    connect(m_poser.figures().list(), &FiguresList::refused, this, &WindowFaces::refuse);
}

WindowFaces::~WindowFaces() { delete m_workspace; }

WorkspaceWindow *WindowFaces::makeWorkspace()
{
    auto *stage = new CanvasWidget;
    stage->setObjectName(QStringLiteral("stage"));
    m_stage = stage;
    m_poser.watchCanvas(stage);
    WorkspaceWindow::Parts parts{stage, m_poser.timeline().strip(), m_poser.figures().panelWidget(),
                                 [this] { return m_poser.shelf().dockedPanel(); }};
    m_workspace = new WorkspaceWindow(m_poser.document(), &m_poser, std::move(parts));
    m_poser.shelf().setDockedShow([this] { m_workspace->showPoses(); });
    return m_workspace;
}

void WindowFaces::showWorkspace(bool shown)
{
    if (shown == m_showsWorkspace)
        return;
    m_showsWorkspace = shown;
    if (shown) {
        WorkspaceWindow *workspace = m_workspace ? m_workspace : makeWorkspace();
        m_poser.timeline().strip()->show();
        pictureChanged();
        workspace->open();
        m_poser.hide();
    } else {
        m_poser.show();
        m_poser.raise();
        m_poser.activateWindow();
        m_workspace->hide();
    }
}

void WindowFaces::pictureChanged()
{
    if (!m_showsWorkspace || !m_stage)
        return;
    auto *stage = static_cast<CanvasWidget *>(m_stage);
    m_poser.drawPicture(stage->canvas());
    stage->update();
}

void WindowFaces::refuse(const QString &why)
{
    if (m_showsWorkspace)
        m_workspace->showRefusal(why);
    else
        QApplication::beep();
}

void WindowFaces::close()
{
    if (m_workspace)
        m_workspace->hide();
}

} // namespace zelbrook
