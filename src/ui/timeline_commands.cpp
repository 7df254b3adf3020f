// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_commands.h"

#include "action_table.h"
#include "refusals.h"

#include "animation_player.h"
#include "timeline_cells.h"
#include "timeline_strip.h"

#include "platform/slider.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace zelbrook {

TimelineCommands::TimelineCommands(AnimationDocument &document, QWidget *window, QWidget *canvas, QMenu *menu,
                                   Redraw redraw)
    : QObject(window)
    , m_document(document)
    , m_window(window)
    , m_menu(menu)
    , m_redraw(std::move(redraw))
    , m_player(new AnimationPlayer(this))
{
    using Direction = AnimationDocument::Direction;
    m_menu->addSeparator();
    m_show = addCommand(ActionId::Animate, [this] { setShown(!isShown()); });
    m_add = addCommand(ActionId::AddKey, [this] {
        runKeyCommand(&AnimationDocument::addKey);
        setShown(true);
    });
    m_delete = addCommand(ActionId::DeleteKey, [this] { runKeyCommand(&AnimationDocument::deleteKey); });
    m_previous = addCommand(ActionId::PreviousKey, [this] { goToKey(-1); });
    m_next = addCommand(ActionId::NextKey, [this] { goToKey(1); });
    m_earlier = addCommand(ActionId::MoveKeyEarlier, [this] {
        stop();
        (void)m_document.moveKey(Direction::Earlier);
    });
    m_later = addCommand(ActionId::MoveKeyLater, [this] {
        stop();
        (void)m_document.moveKey(Direction::Later);
    });
    // Space is the canvas's and the row's own key, not a window shortcut that
    // would take it from buttons and boxes; the menu shows it all the same.
    m_play = addCommand(ActionId::Play, [this] { isPlaying() ? stop() : play(); });
    showPlayText(tr("Play"));
    QAction *const buttons[] = {m_add, m_delete, m_previous, m_next, m_earlier, m_later, m_play};
    m_strip = new TimelineStrip(m_document, buttons, window);
    m_strip->hide();
    m_show->setCheckable(true);

    connect(m_player, &AnimationPlayer::frameShown, this, &TimelineCommands::showFrame);
    connect(m_player, &AnimationPlayer::stopped, this, [this] {
        showPlayText(tr("Play"));
        m_strip->cells()->setPlayedKey(std::nullopt);
        m_strip->showCurrentFrame();
        m_redraw();
    });
    m_document.addObserver([this](const FigureChange &) { stop(); });
    m_document.addAnimationObserver([this](const AnimationChange &change) { follow(change); });
    connect(m_strip, &TimelineStrip::onionSkinChanged, this, [this] { m_redraw(); });
    connect(m_menu, &QMenu::aboutToShow, this, &TimelineCommands::updateState);
    watchCanvas(canvas);
    m_strip->cells()->installEventFilter(this);
    for (Slider *slider : window->findChildren<Slider *>())
        slider->installEventFilter(this);
    updateState();
}

TimelineCommands::~TimelineCommands() = default;

QAction *TimelineCommands::addCommand(ActionId id, std::function<void()> run)
{
    QAction *action = makeAction(id, m_window, m_window);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_menu->addAction(action);
    return action;
}

void TimelineCommands::runKeyCommand(Status (AnimationDocument::*command)())
{
    stop();
    if (const Status done = (m_document.*command)(); !done)
        Refusals::refuse(QString::fromStdString(done.error().message));
}

void TimelineCommands::goToKey(int offset)
{
    stop();
    const std::size_t current = m_document.currentKey();
    if (offset < 0 ? current > 0 : current + 1 < m_document.animation().keyCount())
        m_document.setCurrentKey(offset < 0 ? current - 1 : current + 1);
}

void TimelineCommands::watchCanvas(QWidget *canvas) { canvas->installEventFilter(this); }

void TimelineCommands::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    m_show->setChecked(shown);
    if (!shown)
        stop();
    if (m_faceSwitch)
        m_faceSwitch(shown);
    m_redraw();
    emit shownChanged();
}

bool TimelineCommands::isPlaying() const { return m_player->isPlaying(); }

void TimelineCommands::play()
{
    const Animation &animation = m_document.animation();
    m_player->play(animation, animation.firstFrameOf(m_document.currentKey()));
    if (m_player->isPlaying())
        showPlayText(tr("Stop"));
}

void TimelineCommands::showPlayText(const QString &text)
{
    const QString key = QKeySequence(Qt::Key_Space).toString(QKeySequence::NativeText);
    m_play->setText(text + QLatin1Char('\t') + key);
    m_play->setIconText(text);
    m_play->setToolTip(text + QStringLiteral(" (") + key + QLatin1Char(')'));
}

void TimelineCommands::stop() { m_player->stop(); }

void TimelineCommands::showFrame()
{
    m_strip->showFrame(m_player->frameIndex(), m_player->frameCount(), m_player->frameRef().key);
    m_strip->cells()->setPlayedKey(m_player->frameRef().key);
    m_redraw();
    emit framePlayed(m_player->frameIndex());
}

std::vector<SceneFigure> TimelineCommands::shownScene() const
{
    return isPlaying() ? m_player->scene() : m_document.scene();
}

// The keys on either side of what the stage shows: of the current key, or
// of the in-between the playhead stands on.
std::vector<Ghost> TimelineCommands::ghosts() const
{
    std::vector<Ghost> ghosts;
    if (!isShown() || isPlaying() || !m_strip->onionSkin())
        return ghosts;
    const Animation &animation = m_document.animation();
    const std::size_t keys = animation.keyCount();
    const std::size_t current = m_document.currentKey();
    const auto addKey = [&](std::size_t key, Ghost (*ghost)(const Figure &)) {
        for (const KeyFigure &figure : animation.key(key).figures)
            ghosts.push_back(ghost(figure.figure));
    };
    if (const std::optional<FrameRef> &between = m_document.shownInBetween()) {
        addKey(between->key, previousKeyGhost);
        addKey((between->key + 1) % keys, nextKeyGhost);
        return ghosts;
    }
    if (current > 0)
        addKey(current - 1, previousKeyGhost);
    if (current + 1 < keys)
        addKey(current + 1, nextKeyGhost);
    return ghosts;
}

// A change of the keys around the current one changes its ghosts, and a
// change of the cast the other figures, which no change of the current
// figure redraws.
void TimelineCommands::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    stop();
    updateState();
    const bool ghostsMayChange =
        isShown() && change.what != What::KeyFigure && change.what != What::KeyTiming && change.what != What::Playback;
    // Another figure's change, or the rings moving to another figure, is no
    // change of the current figure's fields.
    if (ghostsMayChange || change.what == What::Cast || change.what == What::CurrentFigure)
        m_redraw();
}

void TimelineCommands::updateState()
{
    using Direction = AnimationDocument::Direction;
    const std::size_t keys = m_document.animation().keyCount();
    setActionEnabled(m_add, ActionId::AddKey, keys < Animation::kMaximumKeys);
    setActionEnabled(m_delete, ActionId::DeleteKey, m_document.canDeleteKey());
    setActionEnabled(m_previous, ActionId::PreviousKey, m_document.currentKey() > 0);
    setActionEnabled(m_next, ActionId::NextKey, m_document.currentKey() + 1 < keys);
    setActionEnabled(m_earlier, ActionId::MoveKeyEarlier, m_document.canMoveKey(Direction::Earlier));
    setActionEnabled(m_later, ActionId::MoveKeyLater, m_document.canMoveKey(Direction::Later));
    setActionEnabled(m_play, ActionId::Play, m_document.animation().frameCount() > 1);
}

// Space plays from the canvas and the row of keys; a press on a slider
// stops playing before the slider takes it.
bool TimelineCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && qobject_cast<Slider *>(watched)) {
        stop();
    } else if (event->type() == QEvent::KeyPress && !qobject_cast<Slider *>(watched)) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && !key->isAutoRepeat()) {
            isPlaying() ? stop() : play();
            return true;
        }
    }
    return false;
}

} // namespace zelbrook
