// SPDX-License-Identifier: GPL-3.0-or-later
#include "figure_commands.h"

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
    m_add = addCommand(tr("Add figure"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), [this] {
        const Status added = m_document.addFigure(m_startFigure);
        m_timeline.setShown(true);
        return added;
    });
    m_duplicate = addCommand(tr("Duplicate figure"), QKeySequence(Qt::CTRL | Qt::Key_D),
                             [this] { return m_document.duplicateFigure(); });
    // Delete is the canvas's and the list's own key, so that it still
    // deletes text in the boxes; the menu shows it all the same.
    m_delete = addCommand(tr("Delete figure") + QStringLiteral("\t") + QKeySequence(Qt::Key_Delete).toString(),
                          QKeySequence(), [this] { return m_document.deleteFigure(); });
    m_delete->setIconText(tr("Delete figure"));
    m_forward = addCommand(tr("Bring forward"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up),
                           [this] { return m_document.moveFigure(Direction::Later); });
    m_backward = addCommand(tr("Send backward"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down),
                            [this] { return m_document.moveFigure(Direction::Earlier); });
    m_colour = addCommand(tr("Colour…"), QKeySequence(), [this] {
        chooseColour();
        return Status{};
    });
    for (const auto &[keys, offset] : {std::pair{Qt::Key_PageUp, -1}, std::pair{Qt::Key_PageDown, 1}}) {
        auto *go = new QAction(m_window);
        go->setShortcut(QKeySequence(Qt::CTRL | keys));
        connect(go, &QAction::triggered, this, [this, offset = offset] { goToFigure(offset); });
        m_window->addAction(go);
    }
    m_list = new FiguresList(m_document, window);
    m_timeline.strip()->addBesideKeys(panel(m_timeline.strip()));
    canvas->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_menu, &QMenu::aboutToShow, this, &FigureCommands::updateState);
    m_document.addAnimationObserver([this](const AnimationChange &) { updateState(); });
    updateState();
}

QAction *FigureCommands::addCommand(const QString &text, const QKeySequence &keys, std::function<Status()> run)
{
    auto *action = new QAction(text, m_window);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    const QString name = text.section(QLatin1Char('\t'), 0, 0);
    action->setToolTip(keys.isEmpty()
                           ? name
                           : name + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connect(action, &QAction::triggered, this, [this, run = std::move(run)] {
        m_timeline.stop();
        m_document.endGesture();
        if (!run())
            QApplication::beep();
    });
    m_window->addAction(action);
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
    if (chosen && *chosen != current && !m_document.setFigureColor(id, *chosen))
        QApplication::beep();
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
    m_add->setEnabled(animation.cast().size() < kMaximumCastFigures);
    m_duplicate->setEnabled(animation.cast().size() < kMaximumCastFigures);
    m_delete->setEnabled(animation.key(m_document.currentKey()).figures.size() > 1);
    m_forward->setEnabled(m_document.canMoveFigure(Direction::Later));
    m_backward->setEnabled(m_document.canMoveFigure(Direction::Earlier));
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
        QApplication::beep();
    return true;
}

} // namespace zelbrook
