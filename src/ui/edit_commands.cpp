// SPDX-License-Identifier: GPL-3.0-or-later
#include "edit_commands.h"

#include "model/pose_mirror.h"
#include "model/side_swap.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

namespace zelbrook {

EditCommands::EditCommands(AnimationDocument &document, QWidget *window, QWidget *canvas, WindowSide side)
    : QObject(window)
    , m_document(document)
    , m_window(window)
    , m_canvas(canvas)
    , m_side(std::move(side))
    , m_menu(new QMenu(window))
{
    m_undo = addCommand(tr("Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, [this] { m_document.undo(); });
    m_redo =
        addCommand(tr("Redo"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
                   [this] { m_document.redo(); });
    m_menu->addSeparator();
    addCommand(tr("Mirror"), {QKeySequence(Qt::CTRL | Qt::Key_M)}, [this] { changeFigure(mirrorFigure); });
    addCommand(tr("Swap sides"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)}, [this] { changeFigure(swapSides); });
    addCommand(tr("New pose"), {QKeySequence(Qt::CTRL | Qt::Key_N)}, m_side.newPose);
    m_menu->addSeparator();
    addCommand(tr("Copy pose as text"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)}, m_side.copyPoseText);
    m_paste = addCommand(tr("Paste pose"), {QKeySequence(Qt::CTRL | Qt::Key_V)}, m_side.pastePose);
    m_document.addObserver([this](const FigureChange &) { updateHistoryState(); });
    m_document.addAnimationObserver([this](const AnimationChange &) { updateHistoryState(); });
    connect(m_menu, &QMenu::aboutToShow, this, &EditCommands::updateState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &EditCommands::updateState);
    canvas->setContextMenuPolicy(Qt::DefaultContextMenu);
    canvas->installEventFilter(this);
    updateState();
}

// The keys act anywhere in the window; in a read-out box the box takes the
// text keys (undo, copy, paste) for its own text first.
QAction *EditCommands::addCommand(const QString &text, const QList<QKeySequence> &keys, std::function<void()> run)
{
    auto *action = new QAction(text, m_window);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_window->addAction(action);
    m_menu->addAction(action);
    return action;
}

bool EditCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_canvas || event->type() != QEvent::ContextMenu)
        return false;
    m_menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
    return true;
}

void EditCommands::changeFigure(Figure (*change)(const Figure &))
{
    m_document.endGesture();
    m_document.setFigure(change(m_document.figure()), ChangeKind::Edit);
}

void EditCommands::updateHistoryState()
{
    m_undo->setEnabled(m_document.canUndo());
    m_redo->setEnabled(m_document.canRedo());
}

// Paste is offered whenever the clipboard holds some text; whether it is a
// pose is found out only by reading it. The clipboard is asked only when it
// changes, never at every change of the figure.
void EditCommands::updateState()
{
    updateHistoryState();
    m_paste->setEnabled(m_side.canPaste());
}

} // namespace zelbrook
