// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_view.h"

#include "document_signals.h"
#include "keys_model.h"
#include "timeline_keys.h"
#include "timeline_painter.h"

#include "ui/refusals.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace zelbrook {

TimelineView::TimelineView(DocumentSignals &changes, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_document(changes.document())
    , m_keys(new KeysModel(changes, this))
    , m_ownSelection(changes.document())
    , m_told(m_ownSelection.run())
    , m_drag(changes.document(), m_layout)
{
    setAccessibleName(tr("Timeline"));
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    m_layout.setFrameWidth(kDefaultFrameWidth);
    m_keys->setPictureSize(QSize(60, TimelinePainter::kMinimumPictureHeight));
    m_selection->setAnchor(m_document.currentKey());
    m_timelineKeys = new TimelineKeys(*m_keys, m_layout, this);
    connect(m_timelineKeys, &TimelineKeys::laidOut, this, &TimelineView::laidOut);
    connect(m_timelineKeys, &TimelineKeys::keysChanged, this, &TimelineView::repaintKeys);
    laidOut();
    // The model hears of each change first, so the blocks are laid out by
    // the time the selection follows.
    connect(&changes, &DocumentSignals::animationChanged, this, &TimelineView::follow);
}

void TimelineView::follow(const AnimationChange &change)
{
    m_selection->follow(change);
    if (change.what == AnimationChange::What::CurrentKey)
        bringIntoView(m_layout.firstFrameOf(m_document.currentKey()));
    tellSelection();
}

void TimelineView::laidOut()
{
    m_drag.cancel();
    m_playhead = std::min(m_playhead, m_layout.frameCount() - 1);
    fitScrollRange();
    viewport()->update();
}

void TimelineView::repaintKeys(std::size_t first, std::size_t last)
{
    const QRect blocks = blockRect(first).united(blockRect(std::min(last, m_layout.keyCount() - 1)));
    viewport()->update(blocks.intersected(viewport()->rect()));
}

// Both the run that was shaded and the one that is are painted again.
void TimelineView::tellSelection()
{
    const KeyRun run = m_selection->run();
    if (run == m_told)
        return;
    repaintKeys(std::min(run.first, m_told.first), std::max(run.last, m_told.last));
    m_told = run;
    emit selectionChanged();
}

QSize TimelineView::minimumSizeHint() const
{
    return {120, TimelinePainter::minimumHeight() + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth()};
}

QSize TimelineView::sizeHint() const { return {640, minimumSizeHint().height() + 24}; }

int TimelineView::scroll() const { return horizontalScrollBar()->value(); }

QRect TimelineView::lane() const { return TimelinePainter::laneIn(viewport()->size()); }

void TimelineView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_keys->setPictureSize(TimelinePainter::pictureSizeIn(lane()));
    fitScrollRange();
}

void TimelineView::fitScrollRange()
{
    QScrollBar *bar = horizontalScrollBar();
    bar->setRange(0, std::max(0, m_layout.length() - viewport()->width()));
    bar->setPageStep(viewport()->width());
    bar->setSingleStep(m_layout.frameWidth());
}

int TimelineView::frameX(std::size_t frame) const { return m_layout.frameX(frame) - scroll(); }

QRect TimelineView::blockRect(std::size_t key) const
{
    const int left = frameX(m_layout.firstFrameOf(key));
    return {left, lane().top(), frameX(m_layout.firstFrameOf(key + 1)) - left, lane().height()};
}

void TimelineView::setPixelsPerFrame(int width) { zoomAbout(width, 0); }

// The frame under x stays under it.
void TimelineView::zoomAbout(int width, int x)
{
    const double frames = double(x + scroll() - TimelineLayout::kLeft) / m_layout.frameWidth();
    m_layout.setFrameWidth(width);
    fitScrollRange();
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(TimelineLayout::kLeft + frames * m_layout.frameWidth())) - x);
    viewport()->update();
}

QSize TimelineView::pictureSize() const { return m_keys->pictureSize(); }

int TimelineView::picturesDrawn() const { return m_keys->picturesDrawn(); }

void TimelineView::setSides(bool apart) { m_keys->setSides(apart); }

QRect TimelineView::playheadRect() const
{
    return {frameX(m_playhead), 0, m_layout.frameWidth(), viewport()->height()};
}

void TimelineView::setPlayhead(std::size_t frame)
{
    frame = std::min(frame, m_layout.frameCount() - 1);
    if (frame == m_playhead)
        return;
    viewport()->update(playheadRect());
    m_playhead = frame;
    viewport()->update(playheadRect());
}

void TimelineView::bringIntoView(std::size_t frame)
{
    const int left = frameX(frame);
    QScrollBar *bar = horizontalScrollBar();
    if (left < 0)
        bar->setValue(bar->value() + left - TimelineLayout::kLeft);
    else if (left + m_layout.frameWidth() > viewport()->width())
        bar->setValue(bar->value() + left + m_layout.frameWidth() + TimelineLayout::kLeft - viewport()->width());
}

void TimelineView::chooseFrame(std::size_t frame)
{
    setPlayhead(frame);
    bringIntoView(m_playhead);
    emit frameChosen(m_playhead);
}

void TimelineView::selectFrom(std::size_t anchor)
{
    m_selection->setAnchor(anchor);
    tellSelection();
}

void TimelineView::shareSelection(KeySelection &selection)
{
    m_selection = &selection;
    viewport()->update();
    tellSelection();
}

void TimelineView::contextMenuEvent(QContextMenuEvent *event)
{
    if (QMenu *commands = m_input.commands())
        commands->popup(event->globalPos());
    event->accept();
}

void TimelineView::chooseKey(std::size_t key, KeySelection::Choice choice)
{
    m_selection->choose(key, choice);
    tellSelection();
}

void TimelineView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect shown = event->rect();
    painter.fillRect(shown, palette().base());
    TimelinePainter timeline(painter, m_layout, palette(), scroll());
    timeline.paintRuler(shown);
    timeline.paintBlocks(shown, lane(), *m_keys, m_selection->run());
    timeline.paintPlayhead(m_playhead, viewport()->height());
}

QPoint TimelineView::along(const QPointF &point) const { return point.toPoint() + QPoint(scroll(), 0); }

bool TimelineView::act(const TimelineInput::Answer &answer)
{
    using Ask = TimelineInput::Ask;
    switch (answer.ask) {
    case Ask::Command:
        // A greyed-out command's key is still the timeline's: it says why not.
        answer.command->isEnabled() ? answer.command->trigger() : Refusals::refuse(answer.command->toolTip());
        break;
    case Ask::Frame:
        chooseFrame(answer.to);
        break;
    case Ask::Key:
    case Ask::ExtendTo:
        chooseKey(answer.to, answer.ask == Ask::Key ? KeySelection::Choice::Alone : KeySelection::Choice::Extending);
        break;
    case Ask::Drag:
        m_drag.start(answer.grip);
        break;
    case Ask::GiveUpDrag:
        m_timelineKeys->takeAll();
        break;
    case Ask::Nothing:
        return false;
    }
    return true;
}

void TimelineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const TimelineInput::Answer answer =
        m_input.press(along(event->position()), event->modifiers() & Qt::ShiftModifier, lane());
    m_choosingFrames = answer.ask == TimelineInput::Ask::Frame;
    act(answer);
}

void TimelineView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = along(event->position());
    if (m_choosingFrames) {
        if (const std::size_t frame = m_layout.frameAt(point.x()); frame != m_playhead)
            chooseFrame(frame);
    } else if (m_drag.isActive()) {
        m_drag.moveTo(point.x());
        fitScrollRange();
        viewport()->update();
    } else if (m_input.gripAt(point, lane())) {
        viewport()->setCursor(Qt::SizeHorCursor);
    } else {
        viewport()->unsetCursor();
    }
}

void TimelineView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_choosingFrames = false;
    if (m_drag.isActive()) {
        if (const Status timed = m_drag.finish(); !timed)
            Refusals::refuse(QString::fromStdString(timed.error().message));
        m_timelineKeys->takeAll();
    }
}

// The view's keys come before the window's shortcuts while it has the
// focus.
bool TimelineView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto &key = *static_cast<QKeyEvent *>(event);
        if (m_input.key(key, m_playhead, m_document.currentKey(), m_drag.isActive()).ask
            != TimelineInput::Ask::Nothing) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TimelineView::keyPressEvent(QKeyEvent *event)
{
    if (!act(m_input.key(*event, m_playhead, m_document.currentKey(), m_drag.isActive())))
        QAbstractScrollArea::keyPressEvent(event);
}

void TimelineView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QApplication::sendEvent(horizontalScrollBar(), event);
        return;
    }
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    zoomAbout(m_input.zoomedWidth(notches), static_cast<int>(event->position().x()));
    event->accept();
}

} // namespace zelbrook
