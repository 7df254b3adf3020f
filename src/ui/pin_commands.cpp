// SPDX-License-Identifier: GPL-3.0-or-later
#include "pin_commands.h"

#include "action_table.h"
#include "canvas_posing.h"
#include "refusals.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace zelbrook {

namespace {

QString endName(Limb end)
{
    switch (end) {
    case Limb::LHand:
        return PinCommands::tr("left hand");
    case Limb::RHand:
        return PinCommands::tr("right hand");
    case Limb::LFoot:
        return PinCommands::tr("left foot");
    case Limb::RFoot:
        break;
    }
    return PinCommands::tr("right foot");
}

} // namespace

PinCommands::PinCommands(AnimationDocument &document, QWidget *window, QMenu *menu, CanvasPosing &posing)
    : QObject(window)
    , m_document(document)
    , m_pin(makeAction(ActionId::Pin, window, window))
    , m_unpinAll(makeAction(ActionId::UnpinAll, window, window))
    , m_reach(makeAction(ActionId::Reach, window, window))
{
    m_reach->setCheckable(true);
    connect(m_pin, &QAction::triggered, this, [this] {
        if (m_end)
            togglePin(*m_end);
    });
    connect(m_unpinAll, &QAction::triggered, this, [this] {
        m_document.endGesture();
        (void)m_document.unpinAll();
    });
    connect(m_reach, &QAction::toggled, this, [this](bool on) {
        for (CanvasPosing *posing : m_posings)
            posing->setReachAlways(on);
    });
    menu->addSeparator();
    menu->addActions({m_pin, m_unpinAll, m_reach});
    watchPosing(posing);
    m_document.addObserver([this](const FigureChange &change) {
        if (change.pinsOrFacing)
            updateState();
    });
    m_document.addAnimationObserver([this](const AnimationChange &) { updateState(); });
    updateState();
}

void PinCommands::watchPosing(CanvasPosing &posing)
{
    m_posings.push_back(&posing);
    posing.setReachAlways(m_reach->isChecked());
    posing.mouseArea()->installEventFilter(this);
    if (posing.focusArea() != posing.mouseArea())
        posing.focusArea()->installEventFilter(this);
    connect(&posing, &CanvasPosing::jointPressed, this, [this](Joint joint) {
        m_end = limbEndingAt(joint);
        updateState();
    });
    connect(&posing, &QObject::destroyed, this,
            [this, gone = &posing] { std::erase(m_posings, static_cast<CanvasPosing *>(gone)); });
}

void PinCommands::togglePin(Limb end)
{
    m_document.endGesture();
    const Status done = m_document.figure().pin(end) ? m_document.unpin(end) : m_document.pin(end);
    if (!done)
        Refusals::refuse(QString::fromStdString(done.error().message));
}

CanvasPosing *PinCommands::posingOf(QObject *area) const
{
    const auto found = std::ranges::find_if(m_posings, [area](const CanvasPosing *posing) {
        return posing->mouseArea() == area || posing->focusArea() == area;
    });
    return found == m_posings.end() ? nullptr : *found;
}

// The right-click is seen before the menu opens, so the menu offers the end
// that was clicked. P is taken from the canvas's keys while the focus is
// there, as Delete and Space are.
bool PinCommands::eventFilter(QObject *watched, QEvent *event)
{
    CanvasPosing *posing = posingOf(watched);
    if (!posing)
        return false;
    if (event->type() == QEvent::ContextMenu && watched == posing->mouseArea()) {
        const auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        if (menuEvent->reason() == QContextMenuEvent::Mouse)
            aimAt(posing->pickAt(menuEvent->pos()));
        return false;
    }
    if (event->type() != QEvent::KeyPress || watched != posing->focusArea())
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_P || key->modifiers() != Qt::NoModifier)
        return false;
    pinUnderPointer(*posing);
    return true;
}

void PinCommands::aimAt(const std::optional<ScenePick> &pick)
{
    if (pick)
        m_document.setCurrentFigure(pick->figure);
    m_end = pick && pick->joint ? limbEndingAt(*pick->joint) : std::nullopt;
    updateState();
}

void PinCommands::pinUnderPointer(const CanvasPosing &posing)
{
    const std::optional<ScenePick> pick = posing.pickUnderPointer();
    const std::optional<Limb> end = pick && pick->joint ? limbEndingAt(*pick->joint) : std::nullopt;
    if (!end)
        return Refusals::refuse(QCoreApplication::translate("Actions", actionRow(ActionId::Pin).whyNot));
    aimAt(pick);
    togglePin(*end);
}

void PinCommands::updateState()
{
    const Figure &figure = m_document.figure();
    const QString key = QLatin1Char('\t') + actionKeys(ActionId::Pin).front().toString(QKeySequence::NativeText);
    if (m_end) {
        const QString name = endName(*m_end);
        m_pin->setText((figure.pin(*m_end) ? tr("Unpin %1").arg(name) : tr("Pin %1").arg(name)) + key);
    } else {
        m_pin->setText(actionText(ActionId::Pin) + key);
    }
    setActionEnabled(m_pin, ActionId::Pin, m_end.has_value());
    setActionEnabled(m_unpinAll, ActionId::UnpinAll, figure.hasPins());
}

} // namespace zelbrook
