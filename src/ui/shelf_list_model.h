// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pose_shelf.h"

#include "export/exporter.h"

#include <QAbstractListModel>
#include <QImage>

#include <vector>

namespace zelbrook {

// The poses or the moves of the shelf as a list of small pictures with
// names. A picture is drawn the first time a view asks for it, when it
// comes into view, and kept. A file that cannot be read is greyed, with
// the reader's reason as its tooltip.
class ShelfListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr QSize kPictureSize{72, 60};

    explicit ShelfListModel(QObject *parent = nullptr);

    void setItems(const std::vector<ShelfItem> &items);
    const ShelfItem &item(int row) const { return m_items.at(static_cast<std::size_t>(row)); }
    // How many pictures have been drawn since the items were set.
    int picturesDrawn() const { return m_picturesDrawn; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    const QImage &pictureOf(int row) const;

    std::vector<ShelfItem> m_items;
    mutable std::vector<QImage> m_pictures;
    mutable Exporter m_exporter;
    mutable int m_picturesDrawn = 0;
};

} // namespace zelbrook
