// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures_list.h"

#include "workspace/document_signals.h"
#include "workspace/figures_model.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>

namespace zelbrook {

FiguresList::FiguresList(AnimationDocument &document, QWidget *parent)
    : QListView(parent)
    , m_document(document)
    , m_model(new FiguresModel(*new DocumentSignals(document, this), this))
{
    setAccessibleName(tr("Figures"));
    setIconSize(QSize(12, 12));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setModel(m_model);
    connect(this, &QListView::clicked, this, &FiguresList::choose);
    for (const auto changed : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, changed, this, &FiguresList::showCurrent);
    connect(m_model, &QAbstractItemModel::rowsMoved, this, &FiguresList::showCurrent);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &FiguresList::showCurrent);
    connect(m_model, &QAbstractItemModel::modelReset, this, &FiguresList::showCurrent);
    showCurrent();
}

void FiguresList::showCurrent()
{
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex line = m_model->index(row);
        if (line.data(FiguresModel::CurrentRole).toBool() && currentIndex() != line) {
            m_following = true;
            setCurrentIndex(line);
            m_following = false;
        }
    }
}

void FiguresList::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QListView::currentChanged(current, previous);
    if (!m_following)
        choose(current);
}

// A figure the current key lacks cannot be current: the selection goes back.
void FiguresList::choose(const QModelIndex &index)
{
    if (index.isValid())
        m_document.setCurrentFigure(index.data(FiguresModel::IdRole).toInt());
    showCurrent();
}

void FiguresList::commitData(QWidget *editor)
{
    QListView::commitData(editor);
    if (!m_model->refusal().isEmpty())
        emit refused(tr("Could not rename the figure: %1").arg(m_model->refusal()));
}

void FiguresList::contextMenuEvent(QContextMenuEvent *event)
{
    const QModelIndex line = indexAt(event->pos());
    if (!line.isValid() || line.data(FiguresModel::HeldRole).toBool())
        return;
    QMenu menu(this);
    const FigureId id = line.data(FiguresModel::IdRole).toInt();
    connect(menu.addAction(tr("Bring back")), &QAction::triggered, this, [this, id] {
        if (!m_document.bringBackFigure(id))
            QApplication::beep();
    });
    menu.exec(event->globalPos());
}

} // namespace zelbrook
