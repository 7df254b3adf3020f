// SPDX-License-Identifier: GPL-3.0-or-later
#include "figure_commands.h"

#include "action_table.h"
#include "refusals.h"

#include "figures_list.h"
#include "timeline_commands.h"
#include "timeline_strip.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QToolButton>

namespace zelbrook {

FigureCommands::FigureCommands(AnimationDocument &document, TimelineCommands &timeline, QWidget *window,
                               QWidget *canvas, QMenu *menu, const Figure &startFigure)
    : QObject(window)
    , m_document(document)
    , m_timeline(timeline)
    , m_window(window)
    , m_menu(menu)
    , m_startFigure(startFigure)
{
    using Direction = AnimationDocument::Direction;
    m_menu->addSeparator();
    m_add = addCommand(ActionId::AddFigure, [this] {
        const Status added = m_document.addFigure(m_startFigure);
        m_timeline.setShown(true);
        return added;
    });
    m_duplicate = addCommand(ActionId::DuplicateFigure, [this] { return m_document.duplicateFigure(); });
    // Delete is the canvas's and the list's own key, so that it still
    // deletes text in the boxes; the menu shows it all the same.
    m_delete = addCommand(ActionId::DeleteFigure, [this] { return m_document.deleteFigure(); });
    m_forward = addCommand(ActionId::BringForward, [this] { return m_document.moveFigure(Direction::Later); });
    m_backward = addCommand(ActionId::SendBackward, [this] { return m_document.moveFigure(Direction::Earlier); });
    m_colour = addCommand(ActionId::FigureColour, [this] {
        chooseColour();
        return Status{};
    });
    for (const auto &[id, offset] : {std::pair{ActionId::PreviousFigure, -1}, std::pair{ActionId::NextFigure, 1}}) {
        QAction *go = makeAction(id, m_window, m_window);
        connect(go, &QAction::triggered, this, [this, offset = offset] { goToFigure(offset); });
        m_goTo.push_back(go);
    }
    m_list = new FiguresList(m_document, window);
    m_panel = panel(m_timeline.strip());
    m_timeline.strip()->addBesideKeys(m_panel);
    canvas->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_menu, &QMenu::aboutToShow, this, &FigureCommands::updateState);
    m_document.addAnimationObserver([this](const AnimationChange &) { updateState(); });
    updateState();
}

QAction *FigureCommands::addCommand(ActionId id, std::function<Status()> run)
{
    QAction *action = makeAction(id, m_window, m_window);
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        m_timeline.stop();
        m_document.endGesture();
        if (const Status done = run(); !done)
            Refusals::refuse(QString::fromStdString(done.error().message));
    });
    m_menu->addAction(action);
    return action;
}

// The list with the buttons of the commands that change the cast beside it.
QWidget *FigureCommands::panel(QWidget *parent)
{
    auto *panel = new QWidget(parent);
    auto *layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    m_list->setParent(panel);
    m_list->setFixedWidth(120);
    layout->addWidget(m_list);
    auto *buttons = new QGridLayout;
    buttons->setSpacing(1);
    int place = 0;
    for (QAction *action : {m_add, m_duplicate, m_delete, m_colour}) {
        auto *button = new QToolButton(panel);
        button->setDefaultAction(action);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons->addWidget(button, place % 2, place / 2);
        ++place;
    }
    layout->addLayout(buttons);
    return panel;
}

void FigureCommands::addFigure() { m_add->trigger(); }
void FigureCommands::duplicateFigure() { m_duplicate->trigger(); }
void FigureCommands::deleteFigure() { m_delete->trigger(); }

void FigureCommands::chooseColour()
{
    const FigureId id = m_document.currentFigure();
    const Color current = m_document.animation().castFigure(id)->color;
    const std::optional<Color> chosen = m_picker ? m_picker(current) : [&]() -> std::optional<Color> {
        const QColor colour = QColorDialog::getColor(QColor::fromRgb(QRgb(current)), m_window, tr("Figure colour"));
        return colour.isValid() ? std::optional(Color(colour.rgb() & 0xFFFFFFu)) : std::nullopt;
    }();
    if (!chosen || *chosen == current)
        return;
    if (const Status coloured = m_document.setFigureColor(id, *chosen); !coloured)
        Refusals::refuse(QString::fromStdString(coloured.error().message));
}

// The figures of the current key, in drawing order, one step either way.
void FigureCommands::goToFigure(int offset)
{
    const std::vector<KeyFigure> &figures = m_document.animation().key(m_document.currentKey()).figures;
    const auto at = std::find_if(figures.begin(), figures.end(),
                                 [this](const KeyFigure &figure) { return figure.id == m_document.currentFigure(); });
    const std::ptrdiff_t index = (at - figures.begin()) + offset;
    if (at != figures.end() && index >= 0 && index < std::ssize(figures))
        m_document.setCurrentFigure(figures[static_cast<std::size_t>(index)].id);
}

void FigureCommands::updateState()
{
    using Direction = AnimationDocument::Direction;
    const Animation &animation = m_document.animation();
    setActionEnabled(m_add, ActionId::AddFigure, animation.cast().size() < kMaximumCastFigures);
    setActionEnabled(m_duplicate, ActionId::DuplicateFigure, animation.cast().size() < kMaximumCastFigures);
    setActionEnabled(m_delete, ActionId::DeleteFigure, animation.key(m_document.currentKey()).figures.size() > 1);
    setActionEnabled(m_forward, ActionId::BringForward, m_document.canMoveFigure(Direction::Later));
    setActionEnabled(m_backward, ActionId::SendBackward, m_document.canMoveFigure(Direction::Earlier));
}

bool FigureCommands::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Delete || key->modifiers() != Qt::NoModifier)
        return false;
    if (m_delete->isEnabled())
        m_delete->trigger();
    else
        Refusals::refuse(m_delete->toolTip());
    return true;
}

} // namespace zelbrook
