// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_list_model.h"

#include "platform/raster_canvas.h"
#include "render/joints.h"

#include <QGuiApplication>
#include <QPainter>

#include <QPalette>
#include <cmath>

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

} // namespace

ShelfListModel::ShelfListModel(QObject *parent)
    : QAbstractListModel(parent)
{}

void ShelfListModel::setItems(const std::vector<ShelfItem> &items)
{
    beginResetModel();
    m_items = items;
    m_pictures.assign(items.size(), QImage());
    m_picturesDrawn = 0;
    endResetModel();
}

int ShelfListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_items.size());
}

QVariant ShelfListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ShelfItem &shown = item(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return shown.name;
    case Qt::DecorationRole:
        return pictureOf(index.row());
    case Qt::ToolTipRole:
        return shown.isReadable() ? shown.name : shown.problem;
    case Qt::AccessibleTextRole:
        return shown.isReadable() ? shown.name : tr("%1, cannot be read").arg(shown.name);
    case Qt::AccessibleDescriptionRole:
        return shown.isReadable() ? QVariant() : shown.problem;
    case Qt::ForegroundRole:
        if (!shown.isReadable())
            return QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    default:
        return {};
    }
}

// A file that cannot be read shows an empty grey picture.
const QImage &ShelfListModel::pictureOf(int row) const
{
    QImage &picture = m_pictures[static_cast<std::size_t>(row)];
    if (!picture.isNull())
        return picture;
    picture = QImage(kPictureSize, QImage::Format_RGB32);
    const ShelfItem &shown = item(row);
    picture.fill(shown.isReadable() ? Qt::white : QColor(0xE0E0E0));
    if (shown.isReadable()) {
        const QImage whole = m_exporter.picture(shown.scene, "");
        const QRect area = sceneArea(shown.scene, whole.size());
        const QImage part = (area.isEmpty() ? whole : whole.copy(area))
                                .scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter(&picture).drawImage((picture.width() - part.width()) / 2, (picture.height() - part.height()) / 2,
                                     part);
    }
    ++m_picturesDrawn;
    return picture;
}

} // namespace zelbrook
