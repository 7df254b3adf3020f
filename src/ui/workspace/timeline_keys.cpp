// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeline_keys.h"

#include "keys_model.h"

#include <vector>

namespace zelbrook {

TimelineKeys::TimelineKeys(const KeysModel &model, TimelineLayout &layout, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_layout(layout)
{
    takeAll();
    connect(&model, &QAbstractItemModel::dataChanged, this, &TimelineKeys::follow);
    connect(&model, &QAbstractItemModel::rowsInserted, this, &TimelineKeys::takeAll);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, &TimelineKeys::takeAll);
    connect(&model, &QAbstractItemModel::rowsMoved, this, &TimelineKeys::takeAll);
    connect(&model, &QAbstractItemModel::modelReset, this, &TimelineKeys::takeAll);
}

void TimelineKeys::takeAll()
{
    const int rows = m_model.rowCount();
    std::vector<TimelineLayout::Timing> timings;
    timings.reserve(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        const QModelIndex key = m_model.index(row);
        timings.push_back({key.data(KeysModel::HoldRole).toInt(), key.data(KeysModel::TweensRole).toInt()});
    }
    const bool loop = rows == 0 || m_model.index(rows - 1).data(KeysModel::TweensPlayedRole).toBool();
    m_layout.setKeys(std::move(timings), loop);
    emit laidOut();
}

// The first frames follow from the timings, which the layout has already.
void TimelineKeys::follow(const QModelIndex &top, const QModelIndex &bottom, const QList<int> &roles)
{
    const auto concerns = [&roles](int role) { return roles.isEmpty() || roles.contains(role); };
    if (concerns(KeysModel::HoldRole) || concerns(KeysModel::TweensRole) || concerns(KeysModel::TweensPlayedRole))
        takeAll();
    else if (roles != QList<int>{KeysModel::FirstFrameRole})
        emit keysChanged(static_cast<std::size_t>(top.row()), static_cast<std::size_t>(bottom.row()));
}

} // namespace zelbrook
