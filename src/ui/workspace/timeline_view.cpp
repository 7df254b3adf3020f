// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_view.h"

#include "document_signals.h"
#include "timeline_painter.h"

#include "ui/action_table.h"
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

namespace {

constexpr int kLaneMargin = 2;

bool isExtendKey(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Left || event.key() == Qt::Key_Right)
           && event.modifiers() == (Qt::ShiftModifier | Qt::AltModifier);
}

bool isFrameKey(const QKeyEvent &event)
{
    const int key = event.key();
    const bool frameKey = key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Home || key == Qt::Key_End;
    return frameKey && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

TimelineView::TimelineView(DocumentSignals &changes, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_document(changes.document())
    , m_pictures(changes.document(), QSize(60, kMinimumPictureHeight))
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
    m_selection->setAnchor(m_document.currentKey());
    takeAnimation();
    connect(&changes, &DocumentSignals::animationChanged, this, &TimelineView::follow);
}

void TimelineView::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    m_pictures.follow(change);
    m_selection->follow(change);
    if (change.what != What::KeyFigure && change.what != What::CurrentKey && change.what != What::CurrentFigure)
        takeAnimation();
    if (change.what == What::CurrentKey)
        bringIntoView(m_layout.firstFrameOf(m_document.currentKey()));
    viewport()->update();
    tellSelection();
}

// A drag under way gives way to the animation as it now is.
void TimelineView::takeAnimation()
{
    m_drag.cancel();
    m_playhead = std::min(m_playhead, m_layout.frameCount() - 1);
    fitScrollRange();
}

void TimelineView::tellSelection()
{
    if (m_selection->run() == m_told)
        return;
    m_told = m_selection->run();
    emit selectionChanged();
}

QSize TimelineView::minimumSizeHint() const
{
    const int height =
        TimelinePainter::kRulerHeight + kMinimumPictureHeight + 4 + TimelinePainter::kTimingBand + 2 * kLaneMargin;
    return {120, height + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth()};
}

QSize TimelineView::sizeHint() const { return {640, minimumSizeHint().height() + 24}; }

int TimelineView::scroll() const { return horizontalScrollBar()->value(); }

QRect TimelineView::lane() const
{
    const int top = TimelinePainter::kRulerHeight + kLaneMargin;
    const int height =
        std::max(kMinimumPictureHeight + 4 + TimelinePainter::kTimingBand, viewport()->height() - top - kLaneMargin);
    return {0, top, viewport()->width(), height};
}

// The pictures keep the canvas's proportions, 493 by 397 pixels, at the
// height the lane gives them.
void TimelineView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const int pictureHeight = lane().height() - 4 - TimelinePainter::kTimingBand;
    m_pictures.setBox(QSize(static_cast<int>(std::lround(pictureHeight * 493.0 / 397.0)), pictureHeight));
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

void TimelineView::setSides(bool apart)
{
    m_pictures.setSides(apart);
    viewport()->update();
}

void TimelineView::setPlayhead(std::size_t frame)
{
    m_playhead = std::min(frame, m_layout.frameCount() - 1);
    viewport()->update();
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
    viewport()->update();
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
    if (m_commands)
        m_commands->popup(event->globalPos());
    event->accept();
}

void TimelineView::chooseKey(std::size_t key, KeySelection::Choice choice)
{
    m_selection->choose(key, choice);
    viewport()->update();
    tellSelection();
}

void TimelineView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect shown = event->rect();
    painter.fillRect(shown, palette().base());
    TimelinePainter timeline(painter, m_layout, palette(), scroll());
    timeline.paintRuler(shown);
    timeline.paintBlocks(shown, lane(), m_pictures, m_selection->run(), m_document.currentKey());
    timeline.paintPlayhead(m_playhead, viewport()->height());
}

std::optional<TimelineLayout::Grip> TimelineView::gripAt(const QPoint &point) const
{
    const QRect blocks = lane();
    if (point.y() < blocks.top() || point.y() > blocks.bottom())
        return std::nullopt;
    const auto half = point.y() > blocks.center().y() ? TimelineLayout::Half::Lower : TimelineLayout::Half::Upper;
    return m_layout.gripAt(point.x() + scroll(), half);
}

void TimelineView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    const std::optional<std::size_t> key = m_layout.keyAt(point.x() + scroll());
    const bool extending = event->modifiers() & Qt::ShiftModifier;
    const std::optional<TimelineLayout::Grip> grip = extending ? std::nullopt : gripAt(point);
    if (grip) {
        m_drag.start(*grip);
    } else if (point.y() >= lane().top() && key) {
        chooseKey(*key, extending ? KeySelection::Choice::Extending : KeySelection::Choice::Alone);
    } else {
        m_choosingFrames = true;
        chooseFrame(m_layout.frameAt(point.x() + scroll()));
    }
}

void TimelineView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_choosingFrames) {
        if (const std::size_t frame = m_layout.frameAt(point.x() + scroll()); frame != m_playhead)
            chooseFrame(frame);
    } else if (m_drag.isActive()) {
        m_drag.moveTo(point.x() + scroll());
        fitScrollRange();
        viewport()->update();
    } else if (gripAt(point)) {
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
        takeAnimation();
        viewport()->update();
    }
}

// The view's keys come before the window's shortcuts while it has the
// focus.
bool TimelineView::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (isFrameKey(*key) || isExtendKey(*key) || (key->key() == Qt::Key_Escape && m_drag.isActive())
            || (m_commands && commandForKey(m_commands->actions(), *key))) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

std::size_t TimelineView::frameFor(const QKeyEvent &event) const
{
    const std::size_t last = m_layout.frameCount() - 1;
    switch (event.key()) {
    case Qt::Key_Left:
        return m_playhead - std::min<std::size_t>(m_playhead, 1);
    case Qt::Key_Right:
        return std::min(m_playhead + 1, last);
    case Qt::Key_Home:
        return 0;
    default:
        return last;
    }
}

void TimelineView::keyPressEvent(QKeyEvent *event)
{
    const std::size_t current = m_document.currentKey();
    // A greyed-out command's key is still the timeline's: it says why not.
    if (QAction *command = m_commands ? commandForKey(m_commands->actions(), *event) : nullptr) {
        command->isEnabled() ? command->trigger() : Refusals::refuse(command->toolTip());
    } else if (isExtendKey(*event)) {
        const bool left = event->key() == Qt::Key_Left;
        const std::size_t lastKey = m_document.animation().keyCount() - 1;
        chooseKey(left ? current - std::min<std::size_t>(current, 1) : std::min(current + 1, lastKey),
                  KeySelection::Choice::Extending);
    } else if (isFrameKey(*event)) {
        chooseFrame(frameFor(*event));
    } else if (event->key() == Qt::Key_Escape && m_drag.isActive()) {
        takeAnimation();
        viewport()->update();
    } else {
        QAbstractScrollArea::keyPressEvent(event);
    }
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
    const int width = m_layout.frameWidth();
    const int wider = std::max(width + 1, static_cast<int>(std::lround(width * std::pow(1.25, notches))));
    const int narrower = std::min(width - 1, static_cast<int>(std::lround(width * std::pow(1.25, notches))));
    zoomAbout(notches > 0 ? wider : narrower, static_cast<int>(event->position().x()));
    event->accept();
}

} // namespace zelbrook
