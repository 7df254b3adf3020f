// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures_model.h"

#include "document_signals.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace zelbrook {

namespace {

using Ids = std::vector<FigureId>;

Ids without(Ids ids, std::size_t place)
{
    ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(place));
    return ids;
}

std::size_t placeOf(const Ids &ids, FigureId id)
{
    return static_cast<std::size_t>(std::find(ids.begin(), ids.end(), id) - ids.begin());
}

} // namespace

FiguresModel::FiguresModel(DocumentSignals &changes, QObject *parent)
    : QAbstractListModel(parent)
    , m_document(changes.document())
    , m_rows(rowsNow())
{
    connect(&changes, &DocumentSignals::animationChanged, this, &FiguresModel::follow);
}

std::vector<FiguresModel::Row> FiguresModel::rowsNow() const
{
    const Key &key = m_document.animation().key(m_document.currentKey());
    std::vector<Row> rows;
    for (const CastFigure &figure : m_document.animation().cast())
        rows.push_back(
            {figure.id, figure.name, figure.color, key.holds(figure.id), figure.id == m_document.currentFigure()});
    return rows;
}

int FiguresModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QHash<int, QByteArray> FiguresModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{IdRole, "id"}, {ColorRole, "color"}, {HeldRole, "held"}, {CurrentRole, "current"}});
    return names;
}

QVariant FiguresModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Row &row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return QString::fromStdString(row.name);
    case Qt::DecorationRole:
    case ColorRole:
        return QColor::fromRgb(QRgb(row.color));
    case Qt::ForegroundRole:
        return row.held ? QVariant() : QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text);
    case IdRole:
        return row.id;
    case HeldRole:
        return row.held;
    case CurrentRole:
        return row.current;
    default:
        return {};
    }
}

Qt::ItemFlags FiguresModel::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractListModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsEditable : flags;
}

bool FiguresModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid) || role != Qt::EditRole)
        return false;
    const Row &row = m_rows[static_cast<std::size_t>(index.row())];
    const std::string name = value.toString().toStdString();
    m_refusal.clear();
    if (name == row.name)
        return true;
    if (Status renamed = m_document.renameFigure(row.id, name); !renamed) {
        m_refusal = QString::fromStdString(renamed.error().message);
        return false;
    }
    return true;
}

void FiguresModel::follow()
{
    const std::vector<Row> now = rowsNow();
    if (!followCast(now)) {
        beginResetModel();
        m_rows = now;
        endResetModel();
        return;
    }
    for (std::size_t place = 0; place < now.size(); ++place) {
        if (m_rows[place] != now[place]) {
            m_rows[place] = now[place];
            emit dataChanged(index(static_cast<int>(place)), index(static_cast<int>(place)));
        }
    }
}

bool FiguresModel::followCast(const std::vector<Row> &now)
{
    Ids before;
    Ids after;
    for (const Row &row : m_rows)
        before.push_back(row.id);
    for (const Row &row : now)
        after.push_back(row.id);
    if (before == after)
        return true;
    const auto at = static_cast<std::size_t>(
        std::mismatch(before.begin(), before.end(), after.begin(), after.end()).first - before.begin());
    if (after.size() == before.size() + 1 && without(after, at) == before) {
        beginInsertRows({}, int(at), int(at));
        m_rows.insert(m_rows.begin() + int(at), now[at]);
        endInsertRows();
        return true;
    }
    if (before.size() == after.size() + 1 && without(before, at) == after) {
        beginRemoveRows({}, int(at), int(at));
        m_rows.erase(m_rows.begin() + int(at));
        endRemoveRows();
        return true;
    }
    if (before.size() != after.size())
        return false;
    // Either the figure first out of place went later, or the one that
    // took its place came from further on.
    if (const std::size_t to = placeOf(after, before[at]);
        to < after.size() && without(before, at) == without(after, to))
        return moveRow(at, to);
    if (const std::size_t from = placeOf(before, after[at]);
        from < before.size() && without(before, from) == without(after, at))
        return moveRow(from, at);
    return false;
}

// A row moved later goes in front of the row after its new place.
bool FiguresModel::moveRow(std::size_t from, std::size_t to)
{
    const auto row = m_rows.begin();
    beginMoveRows({}, int(from), int(from), {}, int(to > from ? to + 1 : to));
    if (to > from)
        std::rotate(row + int(from), row + int(from) + 1, row + int(to) + 1);
    else
        std::rotate(row + int(to), row + int(from), row + int(from) + 1);
    endMoveRows();
    return true;
}

} // namespace zelbrook
