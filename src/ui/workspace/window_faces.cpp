// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_faces.h"

#include "document_signals.h"
#include "recent_files.h"
#include "stage.h"
#include "timeline_view.h"
#include "workspace_window.h"

#include "ui/animation_files.h"
#include "ui/figure_commands.h"
#include "ui/figures_list.h"
#include "ui/form1.h"
#include "ui/key_commands.h"
#include "ui/refusals.h"
#include "ui/shelf_commands.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QApplication>
#include <QVBoxLayout>

namespace zelbrook {

WindowFaces::WindowFaces(Form1 &poser)
    : QObject(&poser)
    , m_poser(poser)
{
    connect(&Refusals::instance(), &Refusals::refused, this, &WindowFaces::refuse);
    connect(m_poser.figures().list(), &FiguresList::refused, this, &WindowFaces::refuse);
}

// The workspace hides while it is whole, so that a drag on its stage ends
// while every view of the document is still there to hear of it.
WindowFaces::~WindowFaces()
{
    if (m_workspace)
        m_workspace->hide();
    delete m_workspace;
}

WorkspaceWindow *WindowFaces::makeWorkspace()
{
    AnimationDocument &document = m_poser.document();
    m_stage = new Stage(document);
    m_stage->setObjectName(QStringLiteral("stage"));
    m_stage->setDrawer([this](Canvas &canvas) { m_poser.drawPicture(canvas); });
    m_poser.watchStage(m_stage, m_stage->posing());
    auto *recent = new RecentFiles(m_poser.animationFiles(), this);
    WorkspaceWindow::Parts parts{m_stage, timelinePanel(), m_poser.figures().panelWidget(),
                                 [this] { return m_poser.shelf().dockedPanel(); }, recent->menu()};
    m_workspace = new WorkspaceWindow(document, &m_poser, std::move(parts));
    m_poser.shelf().setDockedShow([this] { m_workspace->showPoses(); });
    connect(m_stage, &Stage::contextMenuAt, m_workspace, &WorkspaceWindow::showStageMenu);
    connect(&m_poser.timeline(), &TimelineCommands::framePlayed, m_workspace, &WorkspaceWindow::showFrame);
    return m_workspace;
}

// The frame ruler and the keys' blocks over the strip's timing, playback
// and file rows. The playhead shows the frame the document stands on, or
// the one being played; a frame chosen on the ruler is the one it stands
// on. The key commands act on the run selected here.
QWidget *WindowFaces::timelinePanel()
{
    AnimationDocument &document = m_poser.document();
    auto *changes = new DocumentSignals(document, this);
    auto *view = new TimelineView(*changes);
    view->setObjectName(QStringLiteral("timelineView"));
    TimelineStrip *strip = m_poser.timeline().strip();
    TimelineCells *cells = strip->cells();
    strip->hideKeysRow();
    view->setCommands(m_poser.keys().menu());
    view->setSides(strip->sides());
    connect(strip, &TimelineStrip::screenAidsChanged, view, [view, strip] { view->setSides(strip->sides()); });
    connect(view, &TimelineView::frameChosen, this, [&document](std::size_t frame) { document.setShownFrame(frame); });
    connect(changes, &DocumentSignals::animationChanged, view, [view, &document](const AnimationChange &change) {
        if (change.what != AnimationChange::What::KeyFigure)
            view->setPlayhead(document.shownFrame());
    });
    connect(&m_poser.timeline(), &TimelineCommands::framePlayed, view, &TimelineView::setPlayhead);
    view->shareSelection(cells->selectionOfKeys());
    connect(view, &TimelineView::selectionChanged, cells, &TimelineCells::selectionChanged);
    connect(cells, &TimelineCells::selectionChanged, view->viewport(), qOverload<>(&QWidget::update));

    auto *panel = new QWidget;
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view, 1);
    layout->addWidget(strip);
    return panel;
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
    if (m_showsWorkspace && m_stage)
        m_stage->pictureChanged();
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
