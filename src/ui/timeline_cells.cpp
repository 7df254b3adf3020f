// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_cells.h"

#include "action_table.h"
#include "refusals.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace zelbrook {

namespace {

constexpr int kMargin = 4;

} // namespace

TimelineCells::TimelineCells(AnimationDocument &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_pictures(document, QSize(kCellWidth - 4, kCellHeight - 4))
    , m_selection(document)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Keys"));
    m_document.addAnimationObserver([this](const AnimationChange &change) { follow(change); });
    m_document.addKeyFigureObserver([this](std::size_t key) { redrawPicture(key); });
}

// Only the key's own cell shows anything new: the row keeps its size and
// its selection.
void TimelineCells::redrawPicture(std::size_t key)
{
    m_pictures.follow({AnimationChange::What::KeyFigure, key});
    update(cellRect(key));
}

void TimelineCells::follow(const AnimationChange &change)
{
    m_pictures.follow(change);
    m_selection.follow(change);
    updateGeometry();
    resize(sizeHint());
    update();
    emit selectionChanged();
}

KeyRun TimelineCells::selection() const { return m_selection.run(); }

void TimelineCells::selectFrom(std::size_t anchor)
{
    m_selection.setAnchor(anchor);
    update();
    emit selectionChanged();
}

QSize TimelineCells::sizeHint() const
{
    const int keys = static_cast<int>(m_pictures.count());
    const int gaps = keys - (m_document.animation().playback().loop ? 0 : 1);
    return {2 * kMargin + keys * kCellWidth + gaps * kGap, 2 * kMargin + kCellHeight};
}

void TimelineCells::setPlayedKey(std::optional<std::size_t> key)
{
    if (key == m_playedKey)
        return;
    m_playedKey = key;
    update();
}

void TimelineCells::setSides(bool apart)
{
    m_pictures.setSides(apart);
    update();
}

QRect TimelineCells::cellRect(std::size_t key) const
{
    return {kMargin + static_cast<int>(key) * (kCellWidth + kGap), kMargin, kCellWidth, kCellHeight};
}

int TimelineCells::keyAt(const QPoint &point) const
{
    const int key = (point.x() - kMargin) / (kCellWidth + kGap);
    if (point.x() < kMargin || key >= static_cast<int>(m_pictures.count()))
        return -1;
    return cellRect(static_cast<std::size_t>(key)).contains(point) ? key : -1;
}

void TimelineCells::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const Animation &animation = m_document.animation();
    for (std::size_t key = 0; key < m_pictures.count(); ++key) {
        const QRect cell = cellRect(key);
        if (!event->rect().intersects(cell.adjusted(0, 0, kGap, 0)))
            continue;
        const QImage &picture = m_pictures.picture(key);
        painter.fillRect(cell, Qt::white);
        paintSelection(painter, key, cell);
        painter.drawImage(cell.center() - QPoint(picture.width() / 2, picture.height() / 2), picture);
        const bool marked = key == m_playedKey.value_or(m_document.currentKey());
        painter.setPen(QPen(marked ? palette().highlight().color() : palette().mid().color(), marked ? 3 : 1));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (key + 1 < m_pictures.count() || animation.playback().loop) {
            const QRect gap(cell.right() + 1, cell.top(), kGap, cell.height());
            painter.setPen(palette().text().color());
            painter.drawText(gap, Qt::AlignCenter, QString::number(animation.key(key).tweens));
        }
    }
    if (hasFocus())
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

// A selected run of more than one key is shaded, the gaps between its
// cells too, so that it reads as one band; the pictures stay on white.
void TimelineCells::paintSelection(QPainter &painter, std::size_t key, const QRect &cell)
{
    const KeyRun run = selection();
    if (run.size() < 2 || key < run.first || key > run.last)
        return;
    QColor shade = palette().highlight().color();
    shade.setAlpha(110);
    painter.fillRect(cell.adjusted(0, 0, key < run.last ? kGap : 0, 0), shade);
    painter.fillRect(cell.adjusted(3, 3, -3, -3), Qt::white);
}

void TimelineCells::goTo(std::size_t key, Qt::KeyboardModifiers modifiers)
{
    m_selection.choose(key,
                       modifiers & Qt::ShiftModifier ? KeySelection::Choice::Extending : KeySelection::Choice::Alone);
    update();
    emit selectionChanged();
}

// A press of another button inside the run keeps it for the context menu.
void TimelineCells::mousePressEvent(QMouseEvent *event)
{
    const int key = keyAt(event->position().toPoint());
    if (key < 0)
        return;
    const KeyRun run = selection();
    const auto index = static_cast<std::size_t>(key);
    if (event->button() == Qt::LeftButton || index < run.first || index > run.last)
        goTo(index, event->button() == Qt::LeftButton ? event->modifiers() : Qt::NoModifier);
}

void TimelineCells::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_commands)
        m_commands->popup(event->globalPos());
}

QAction *TimelineCells::commandFor(const QKeyEvent &event) const
{
    return m_commands ? commandForKey(m_commands->actions(), event) : nullptr;
}

// The commands' keys come to the row before any of the window's shortcuts,
// as a text box takes the copy and paste keys for its text.
bool TimelineCells::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && commandFor(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

void TimelineCells::keyPressEvent(QKeyEvent *event)
{
    // A greyed-out command's key is still the row's: it only beeps.
    if (QAction *command = commandFor(*event)) {
        command->isEnabled() ? command->trigger() : Refusals::refuse(command->toolTip());
        return;
    }
    const std::size_t current = m_document.currentKey();
    const std::size_t last = m_document.animation().keyCount() - 1;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    switch (event->key()) {
    case Qt::Key_Left:
        goTo(current > 0 ? current - 1 : 0, modifiers);
        break;
    case Qt::Key_Right:
        goTo(std::min(current + 1, last), modifiers);
        break;
    case Qt::Key_Home:
        goTo(0, modifiers);
        break;
    case Qt::Key_End:
        goTo(last, modifiers);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace zelbrook
