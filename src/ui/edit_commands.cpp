// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit_commands.h"

#include "action_table.h"
#include "refusals.h"

#include "model/pose_mirror.h"
#include "model/side_swap.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace zelbrook {

EditCommands::EditCommands(AnimationDocument &document, QWidget *window, QWidget *canvas, WindowSide side)
    : QObject(window)
    , m_document(document)
    , m_window(window)
    , m_canvases{canvas}
    , m_side(std::move(side))
    , m_menu(new QMenu(window))
{
    m_undo = addCommand(ActionId::Undo, [this] { m_document.undo(); });
    m_redo = addCommand(ActionId::Redo, [this] { m_document.redo(); });
    m_menu->addSeparator();
    addCommand(ActionId::Mirror, [this] { changeFigure(mirrorFigure, &AnimationDocument::mirrorInKeys); });
    addCommand(ActionId::SwapSides, [this] { changeFigure(swapSides, &AnimationDocument::swapSidesInKeys); });
    addCommand(ActionId::NewPose, m_side.newPose);
    m_menu->addSeparator();
    addCommand(ActionId::CopyPoseText, m_side.copyPoseText);
    m_paste = addCommand(ActionId::PastePose, m_side.pastePose);
    m_document.addObserver([this](const FigureChange &) { updateHistoryState(); });
    m_document.addAnimationObserver([this](const AnimationChange &) { updateHistoryState(); });
    connect(m_menu, &QMenu::aboutToShow, this, &EditCommands::updateState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::updateState);
    watchCanvas(canvas);
    updateState();
}

void EditCommands::watchCanvas(QWidget *canvas)
{
    if (std::find(m_canvases.begin(), m_canvases.end(), canvas) == m_canvases.end())
        m_canvases.push_back(canvas);
    canvas->setContextMenuPolicy(Qt::DefaultContextMenu);
    canvas->installEventFilter(this);
}

// The keys act anywhere in the window; in a read-out box the box takes the
// text keys (undo, copy, paste) for its own text first.
QAction *EditCommands::addCommand(ActionId id, std::function<void()> run)
{
    QAction *action = makeAction(id, m_window, m_window);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_menu->addAction(action);
    return action;
}

bool EditCommands::eventFilter(QObject *watched, QEvent *event)
{
    const bool onCanvas = std::find(m_canvases.begin(), m_canvases.end(), watched) != m_canvases.end();
    if (!onCanvas || event->type() != QEvent::ContextMenu)
        return false;
    m_menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
    return true;
}

void EditCommands::changeFigure(Figure (*change)(const Figure &), Status (AnimationDocument::*inKeys)(KeyRun))
{
    m_document.endGesture();
    const std::optional<KeyRun> run = m_selected ? m_selected() : std::nullopt;
    if (!run || run->size() < 2)
        return m_document.setFigure(change(m_document.figure()), ChangeKind::Edit);
    if (const Status changed = (m_document.*inKeys)(*run); !changed)
        Refusals::refuse(QString::fromStdString(changed.error().message));
}

void EditCommands::updateHistoryState()
{
    setActionEnabled(m_undo, ActionId::Undo, m_document.canUndo());
    setActionEnabled(m_redo, ActionId::Redo, m_document.canRedo());
}

// Paste is offered whenever the clipboard holds some text; whether it is a
// pose is found out only by reading it. The clipboard is asked only when it
// changes, never at every change of the figure.
void EditCommands::updateState()
{
    updateHistoryState();
    setActionEnabled(m_paste, ActionId::PastePose, m_side.canPaste());
}

} // namespace zelbrook
