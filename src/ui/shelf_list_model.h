// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose_shelf.h"

#include "export/exporter.h"

#include <QAbstractListModel>
#include <QPixmap>
#include <QTimer>

#include <vector>

namespace zelbrook {

// The poses or the moves of the shelf as a list of small pictures with
// names. A picture is drawn once a view has asked for it, when it comes
// into view, and kept: until the event loop comes round the decoration is
// white, a colour rather than a picture, so that a panel of many poses shows
// at once. The pictures
// are drawn on a canvas the lists of a panel share. A file that cannot be
// read is greyed, with the reader's reason as its tooltip.
class ShelfListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr QSize kPictureSize{72, 60};

    explicit ShelfListModel(Exporter &painter, QObject *parent = nullptr);

    // Shows the shelf's poses or moves as they are listed now.
    void setShelf(const PoseShelf *shelf, ShelfKind kind);
    // The item of a row, its file read.
    const ShelfItem &item(int row) const;
    // The picture of a row, drawn now if it was not.
    const QPixmap &picture(int row) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    void drawWaiting();
    // The item of a row as listed, its file perhaps not read yet.
    const ShelfItem &listed(int row) const;

    const PoseShelf *m_shelf = nullptr;
    ShelfKind m_kind = ShelfKind::Poses;
    mutable std::vector<QPixmap> m_pictures;
    mutable std::vector<int> m_waiting;
    mutable QTimer m_drawing;
    Exporter &m_painter;
};

} // namespace zelbrook
