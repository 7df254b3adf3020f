// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStyledItemDelegate>

namespace zelbrook {

// An item of the shelf's lists: its small picture over its name. Every item
// takes the grid's size without being asked for its picture or text, so
// that laying out a long list reads no file and draws nothing, and a paint
// lays the name out once, where the style's own item lays it out again for
// each of its parts.
class ShelfItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace zelbrook
