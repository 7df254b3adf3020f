// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures_list.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

namespace zelbrook {

namespace {

QIcon swatch(Color color)
{
    QPixmap square(12, 12);
    square.fill(QColor::fromRgb(QRgb(color)));
    QPainter painter(&square);
    painter.setPen(Qt::gray);
    painter.drawRect(square.rect().adjusted(0, 0, -1, -1));
    return QIcon(square);
}

} // namespace

FiguresList::FiguresList(AnimationDocument &document, QWidget *parent)
    : QListWidget(parent)
    , m_document(document)
{
    setAccessibleName(tr("Figures"));
    setIconSize(QSize(12, 12));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    connect(this, &QListWidget::itemClicked, this, &FiguresList::choose);
    connect(this, &QListWidget::itemChanged, this, &FiguresList::rename);
    connect(this, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) { choose(item); });
    m_document.addAnimationObserver([this](const AnimationChange &change) {
        using What = AnimationChange::What;
        if (change.what != What::KeyFigure && change.what != What::KeyTiming && change.what != What::Playback)
            follow();
    });
    follow();
}

FigureId FiguresList::figureOf(const QListWidgetItem *item) { return item->data(Qt::UserRole).toInt(); }

// The lines are changed in place, never made anew, so that a line being
// renamed keeps its editor while the click that opened it makes its figure
// current.
void FiguresList::follow()
{
    m_following = true;
    const Animation &animation = m_document.animation();
    const Key &key = animation.key(m_document.currentKey());
    const std::vector<CastFigure> &cast = animation.cast();
    while (count() > std::ssize(cast))
        delete takeItem(count() - 1);
    while (count() < std::ssize(cast)) {
        auto *item = new QListWidgetItem(this);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    for (int row = 0; row < count(); ++row) {
        const CastFigure &figure = cast[static_cast<std::size_t>(row)];
        QListWidgetItem *line = item(row);
        line->setData(Qt::UserRole, figure.id);
        line->setIcon(swatch(figure.color));
        if (!isPersistentEditorOpen(line) && state() != EditingState)
            line->setText(QString::fromStdString(figure.name));
        line->setForeground(
            palette().color(key.holds(figure.id) ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        if (figure.id == m_document.currentFigure())
            setCurrentItem(line);
    }
    m_following = false;
}

// A figure the current key lacks cannot be current: the selection goes back.
void FiguresList::choose(QListWidgetItem *item)
{
    if (m_following || !item)
        return;
    m_document.setCurrentFigure(figureOf(item));
    m_following = true;
    for (int row = 0; row < count(); ++row) {
        if (figureOf(this->item(row)) == m_document.currentFigure())
            setCurrentRow(row);
    }
    m_following = false;
}

void FiguresList::rename(QListWidgetItem *item)
{
    if (m_following)
        return;
    const CastFigure *figure = m_document.animation().castFigure(figureOf(item));
    const std::string name = item->text().toStdString();
    if (figure && figure->name != name) {
        if (const Status renamed = m_document.renameFigure(figure->id, name); !renamed)
            emit refused(tr("Could not rename the figure: %1").arg(QString::fromStdString(renamed.error().message)));
    }
    follow();
}

void FiguresList::contextMenuEvent(QContextMenuEvent *event)
{
    QListWidgetItem *item = itemAt(event->pos());
    if (!item || m_document.animation().key(m_document.currentKey()).holds(figureOf(item)))
        return;
    QMenu menu(this);
    const FigureId id = figureOf(item);
    connect(menu.addAction(tr("Bring back")), &QAction::triggered, this, [this, id] {
        if (!m_document.bringBackFigure(id))
            QApplication::beep();
    });
    menu.exec(event->globalPos());
}

} // namespace zelbrook
