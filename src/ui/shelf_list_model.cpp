// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_list_model.h"

#include "platform/raster_canvas.h"
#include "render/joints.h"

#include <QGuiApplication>
#include <QPainter>

#include <QPalette>
#include <cmath>
#include <utility>

namespace zelbrook {

namespace {

// The part of the picture, in pixels, that the scene's figures cover: every
// joint and the head, with a margin for the pen.
QRect sceneArea(const std::vector<SceneFigure> &scene, QSize picture)
{
    const double across = picture.width() / RasterCanvas::kUnitWidth;
    const double down = picture.height() / RasterCanvas::kUnitHeight;
    QRectF area;
    for (const SceneFigure &figure : scene) {
        const Pose &pose = figure.figure.pose;
        const Joints j = ComputeJoints(pose);
        const double head = std::abs(pose.headRadius * pose.scale);
        for (const Point &p : {Point{pose.hipX, pose.hipY}, j.neck, j.lKnee, j.lFoot, j.rKnee, j.rFoot, j.lElbow,
                               j.lHand, j.rElbow, j.rHand}) {
            area |= QRectF(p.x * across - 1, p.y * down - 1, 2, 2);
        }
        area |= QRectF((j.headCentre.x - head) * across, (j.headCentre.y - head) * down, 2 * head * across,
                       2 * head * down);
    }
    const double margin = 4;
    return area.adjusted(-margin, -margin, margin, margin).toAlignedRect().intersected(QRect(QPoint(), picture));
}

// The part of the picture within the area, read where it lies rather than
// copied out.
QImage areaOf(const QImage &picture, const QRect &area)
{
    if (area.isEmpty())
        return picture;
    return QImage(picture.constScanLine(area.top()) + area.left() * (picture.depth() / 8), area.width(), area.height(),
                  picture.bytesPerLine(), picture.format());
}

} // namespace

ShelfListModel::ShelfListModel(Exporter &painter, QObject *parent)
    : QAbstractListModel(parent)
    , m_painter(painter)
{
    m_drawing.setSingleShot(true);
    m_drawing.setInterval(0);
    connect(&m_drawing, &QTimer::timeout, this, &ShelfListModel::drawWaiting);
}

void ShelfListModel::setShelf(const PoseShelf *shelf, ShelfKind kind)
{
    beginResetModel();
    m_shelf = shelf;
    m_kind = kind;
    m_pictures.assign(rowCount(), QPixmap());
    m_waiting.clear();
    endResetModel();
}

const ShelfItem &ShelfListModel::item(int row) const
{
    const auto index = static_cast<std::size_t>(row);
    return m_kind == ShelfKind::Poses ? m_shelf->pose(index) : m_shelf->move(index);
}

const ShelfItem &ShelfListModel::listed(int row) const
{
    const auto index = static_cast<std::size_t>(row);
    return (m_kind == ShelfKind::Poses ? m_shelf->poses() : m_shelf->moves()).at(index);
}

int ShelfListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_shelf)
        return 0;
    return static_cast<int>((m_kind == ShelfKind::Poses ? m_shelf->poses() : m_shelf->moves()).size());
}

QVariant ShelfListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    const QPixmap &kept = m_pictures[static_cast<std::size_t>(row)];
    // Painting reads no file: the picture and the grey come a moment later.
    switch (role) {
    case Qt::DisplayRole:
        return listed(row).name;
    case Qt::DecorationRole:
        if (!kept.isNull())
            return kept;
        m_waiting.push_back(row);
        m_drawing.start();
        return QColor(Qt::white);
    case Qt::ForegroundRole:
        if (!listed(row).read || listed(row).isReadable())
            return {};
        return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    case Qt::ToolTipRole:
        return item(row).isReadable() ? item(row).name : item(row).problem;
    case Qt::AccessibleTextRole:
        return item(row).isReadable() ? item(row).name : tr("%1, cannot be read").arg(item(row).name);
    case Qt::AccessibleDescriptionRole:
        return item(row).isReadable() ? QVariant() : item(row).problem;
    default:
        return {};
    }
}

void ShelfListModel::drawWaiting()
{
    const std::vector<int> rows = std::exchange(m_waiting, {});
    for (const int row : rows) {
        if (row < rowCount() && m_pictures[static_cast<std::size_t>(row)].isNull()) {
            picture(row);
            emit dataChanged(index(row), index(row), {Qt::DecorationRole, Qt::ForegroundRole});
        }
    }
}

// A file that cannot be read shows an empty grey picture.
const QPixmap &ShelfListModel::picture(int row) const
{
    QPixmap &kept = m_pictures.at(static_cast<std::size_t>(row));
    if (!kept.isNull())
        return kept;
    QImage picture(kPictureSize, QImage::Format_RGB32);
    const ShelfItem &shown = item(row);
    picture.fill(shown.isReadable() ? Qt::white : QColor(0xE0E0E0));
    if (shown.isReadable()) {
        const QImage whole = m_painter.picture(shown.scene, "");
        const QImage part = areaOf(whole, sceneArea(shown.scene, whole.size()))
                                .scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&picture).drawImage((picture.width() - part.width()) / 2, (picture.height() - part.height()) / 2,
                                     part);
    }
    kept = QPixmap::fromImage(picture);
    return kept;
}

} // namespace zelbrook
