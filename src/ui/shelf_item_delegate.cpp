// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_item_delegate.h"

#include "shelf_list_model.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace zelbrook {

namespace {

// The name wrapped into the rectangle, centred, its last line that fits
// cut short with an ellipsis when more would follow.
void drawName(QPainter *painter, const QRect &rect, const QString &name)
{
    const QFontMetricsF metrics(painter->font());
    const int room = std::max(1, static_cast<int>(rect.height() / metrics.lineSpacing()));
    QTextLayout layout(name, painter->font());
    layout.setTextOption(QTextOption(Qt::AlignHCenter));
    layout.beginLayout();
    for (int n = 0; n < room; ++n) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, n * metrics.lineSpacing()));
    }
    layout.endLayout();
    for (int n = 0; n < layout.lineCount(); ++n) {
        const QTextLine line = layout.lineAt(n);
        if (n + 1 < room || line.textStart() + line.textLength() >= name.size()) {
            line.draw(painter, rect.topLeft());
            continue;
        }
        const QRectF last(rect.left(), rect.top() + line.y(), rect.width(), line.height());
        painter->drawText(last, Qt::AlignHCenter,
                          metrics.elidedText(name.mid(line.textStart()), Qt::ElideRight, rect.width()));
    }
}

// The colours of an item as the style picks them: greyed when the list is,
// paler when its window is not the active one.
QPalette::ColorGroup colourGroup(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

} // namespace

QSize ShelfItemDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const
{
    return ShelfListModel::kPictureSize + QSize(20, 24);
}

void ShelfItemDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // The style's margin about an item's text.
    constexpr int kTextMargin = 3;
    const QVariant decoration = index.data(Qt::DecorationRole);
    const QPixmap picture = decoration.value<QPixmap>();
    const QSize pictureSize = picture.isNull() ? ShelfListModel::kPictureSize : picture.size();
    const QRect cell = option.rect;
    const QRect pictureRect(QPoint(cell.left() + (cell.width() - pictureSize.width()) / 2, cell.top() + 2),
                            pictureSize);
    const QRect nameRect = cell.adjusted(kTextMargin, pictureSize.height() + 4, -kTextMargin, 0);
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    // A picture still to draw is a plain colour. A picture goes through an
    // icon, as the style draws it: each new one drawn straight onto the
    // painter cost several times as long.
    if (picture.isNull())
        painter->fillRect(pictureRect, decoration.value<QColor>());
    else
        QIcon(picture).paint(painter, pictureRect);
    if (selected) {
        QColor highlight = option.palette.color(colourGroup(option), QPalette::Highlight);
        painter->fillRect(nameRect, highlight);
        highlight.setAlpha(110);
        painter->fillRect(pictureRect, highlight);
    }
    const QVariant greyed = index.data(Qt::ForegroundRole);
    painter->setPen(
        greyed.isValid() && !selected
            ? greyed.value<QBrush>().color()
            : option.palette.color(colourGroup(option), selected ? QPalette::HighlightedText : QPalette::Text));
    drawName(painter, nameRect, index.data(Qt::DisplayRole).toString());
    painter->restore();
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

} // namespace zelbrook
