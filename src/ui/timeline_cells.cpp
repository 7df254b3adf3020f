// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_cells.h"

#include "canvas_aids.h"

#include "render/joints.h"

#include <QKeyEvent>
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

TimelineCells::TimelineCells(PoseDocument &document, QWidget *parent)
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
        m_pictures.insert(at, QImage());
        break;
    case What::KeyRemoved:
        m_pictures.erase(at);
        break;
    case What::KeyMoved: {
        const auto to = m_pictures.begin() + static_cast<std::ptrdiff_t>(change.destination);
        if (to > at)
            std::rotate(at, at + 1, to + 1);
        else
            std::rotate(to, at, at + 1);
        break;
    }
    case What::Whole:
    case What::Cast:
        m_pictures.assign(m_document.animation().keyCount(), QImage());
        break;
    case What::KeyTiming:
    case What::Playback:
    case What::CurrentKey:
    case What::CurrentFigure:
        break;
    }
    updateGeometry();
    resize(sizeHint());
    update();
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

void TimelineCells::mousePressEvent(QMouseEvent *event)
{
    if (const int key = keyAt(event->position().toPoint()); key >= 0)
        m_document.setCurrentKey(static_cast<std::size_t>(key));
}

void TimelineCells::keyPressEvent(QKeyEvent *event)
{
    const std::size_t current = m_document.currentKey();
    const std::size_t last = m_document.animation().keyCount() - 1;
    switch (event->key()) {
    case Qt::Key_Left:
        m_document.setCurrentKey(current > 0 ? current - 1 : 0);
        break;
    case Qt::Key_Right:
        m_document.setCurrentKey(std::min(current + 1, last));
        break;
    case Qt::Key_Home:
        m_document.setCurrentKey(0);
        break;
    case Qt::Key_End:
        m_document.setCurrentKey(last);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace zelbrook
