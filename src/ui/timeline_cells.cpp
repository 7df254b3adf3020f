// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_cells.h"

#include "canvas_aids.h"

#include "render/joints.h"

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

// The square of the picture, in pixels, that any pose of the figure's
// lengths stays in, the hip at its centre.
QRect figureArea(const Pose &pose, QSize picture)
{
    const double reach = figureReach(pose);
    const QPointF hip(pose.hipX * picture.width() / 500.0, pose.hipY * picture.height() / 400.0);
    const double side = reach * picture.width() / 500.0 + 4;
    const QRectF square(hip - QPointF(side, side), QSizeF(2 * side, 2 * side));
    return square.toAlignedRect().intersected(QRect(QPoint(), picture));
}

} // namespace

TimelineCells::TimelineCells(AnimationDocument &document, QWidget *parent)
    : QWidget(parent)
    , m_document(document)
    , m_pictures(document.animation().keyCount())
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Keys"));
    m_document.addAnimationObserver([this](const AnimationChange &change) { follow(change); });
}

void TimelineCells::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    const auto at = m_pictures.begin() + static_cast<std::ptrdiff_t>(change.key);
    switch (change.what) {
    case What::KeyFigure:
        m_pictures[change.key] = QImage();
        break;
    case What::KeyInserted:
        m_pictures.insert(at, change.count, QImage());
        break;
    case What::KeyRemoved:
        m_pictures.erase(at, at + static_cast<std::ptrdiff_t>(change.count));
        break;
    case What::KeyMoved: {
        const auto to = m_pictures.begin() + static_cast<std::ptrdiff_t>(change.destination);
        if (to > at)
            std::rotate(at, at + 1, to + 1);
        else
            std::rotate(to, at, at + 1);
        break;
    }
    case What::KeysReversed:
        std::reverse(at, m_pictures.begin() + static_cast<std::ptrdiff_t>(change.destination) + 1);
        break;
    case What::Whole:
    case What::Cast:
        m_pictures.assign(m_document.animation().keyCount(), QImage());
        break;
    case What::KeyTiming:
    case What::Playback:
    case What::CurrentKey:
    case What::CurrentFigure:
    case What::ShownFrame:
        break;
    }
    // The run stays selected while only its keys' content or order changes.
    if (!m_extending && change.what != What::KeyFigure && change.what != What::KeyTiming
        && change.what != What::KeysReversed && change.what != What::Playback)
        m_anchor = m_document.currentKey();
    updateGeometry();
    resize(sizeHint());
    update();
    emit selectionChanged();
}

KeyRun TimelineCells::selection() const
{
    const std::size_t current = m_document.currentKey();
    const std::size_t anchor = std::min(m_anchor, m_document.animation().keyCount() - 1);
    return {std::min(anchor, current), std::max(anchor, current)};
}

void TimelineCells::selectFrom(std::size_t anchor)
{
    m_anchor = anchor;
    update();
    emit selectionChanged();
}

QSize TimelineCells::sizeHint() const
{
    const int keys = static_cast<int>(m_pictures.size());
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
    m_sides = apart;
    m_pictures.assign(m_pictures.size(), QImage());
    update();
}

QRect TimelineCells::cellRect(std::size_t key) const
{
    return {kMargin + static_cast<int>(key) * (kCellWidth + kGap), kMargin, kCellWidth, kCellHeight};
}

int TimelineCells::keyAt(const QPoint &point) const
{
    const int key = (point.x() - kMargin) / (kCellWidth + kGap);
    if (point.x() < kMargin || key >= static_cast<int>(m_pictures.size()))
        return -1;
    return cellRect(static_cast<std::size_t>(key)).contains(point) ? key : -1;
}

// The picture is the exported one around the key's figures, scaled down,
// so a cell shows what the key exports as.
const QImage &TimelineCells::pictureOf(std::size_t key)
{
    QImage &picture = m_pictures[key];
    if (picture.isNull()) {
        const std::vector<SceneFigure> scene = m_document.animation().sceneAt({key, 0, 0});
        const QImage whole = m_sides ? sidesApartPicture(scene) : m_exporter.picture(scene, "");
        QRect area;
        for (const SceneFigure &figure : scene)
            area |= figureArea(figure.figure.pose, whole.size());
        const QImage part = area.isEmpty() ? whole : whole.copy(area);
        picture = part.scaled(QSize(kCellWidth - 4, kCellHeight - 4), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        ++m_picturesDrawn;
    }
    return picture;
}

void TimelineCells::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const Animation &animation = m_document.animation();
    for (std::size_t key = 0; key < m_pictures.size(); ++key) {
        const QRect cell = cellRect(key);
        if (!event->rect().intersects(cell.adjusted(0, 0, kGap, 0)))
            continue;
        const QImage &picture = pictureOf(key);
        painter.fillRect(cell, Qt::white);
        paintSelection(painter, key, cell);
        painter.drawImage(cell.center() - QPoint(picture.width() / 2, picture.height() / 2), picture);
        const bool marked = key == m_playedKey.value_or(m_document.currentKey());
        painter.setPen(QPen(marked ? palette().highlight().color() : palette().mid().color(), marked ? 3 : 1));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (key + 1 < m_pictures.size() || animation.playback().loop) {
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
    m_extending = modifiers & Qt::ShiftModifier;
    if (!m_extending)
        m_anchor = key;
    m_document.setCurrentKey(key);
    m_extending = false;
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
    if (!m_commands)
        return nullptr;
    const QKeySequence pressed(event.keyCombination());
    for (QAction *action : m_commands->actions()) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed)
            return action;
    }
    return nullptr;
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
        command->isEnabled() ? command->trigger() : QApplication::beep();
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
