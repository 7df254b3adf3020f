// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys_model.h"

#include "document_signals.h"

#include "ui/key_rows.h"

#include <optional>
#include <tuple>

namespace zelbrook {

KeysModel::KeysModel(DocumentSignals &changes, QObject *parent)
    : QAbstractListModel(parent)
    , m_document(changes.document())
    , m_pictures(changes.document(), kPictureSize)
{
    for (std::size_t key = 0; key < m_document.animation().keyCount(); ++key)
        m_rows.push_back(rowOf(key));
    settleFirstFrames();
    connect(&changes, &DocumentSignals::animationChanged, this, &KeysModel::follow);
}

KeysModel::Row KeysModel::rowOf(std::size_t key) const
{
    const Key &shown = m_document.animation().key(key);
    return {shown.hold,
            shown.tweens,
            shown.ease,
            m_document.animation().firstFrameOf(key),
            key == m_document.currentKey(),
            playsTweens(key)};
}

bool KeysModel::playsTweens(std::size_t key) const
{
    return key + 1 < m_document.animation().keyCount() || m_document.animation().playback().loop;
}

void KeysModel::setPictureSize(QSize size)
{
    if (size == m_pictures.box())
        return;
    m_pictures.setBox(size);
    changeAllPictures();
}

void KeysModel::setSides(bool apart)
{
    m_pictures.setSides(apart);
    changeAllPictures();
}

void KeysModel::changeAllPictures()
{
    if (!m_rows.empty())
        changeRows(0, m_rows.size() - 1, {Qt::DecorationRole});
}

int KeysModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

QHash<int, QByteArray> KeysModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({{FirstFrameRole, "firstFrame"},
                  {HoldRole, "hold"},
                  {TweensRole, "tweens"},
                  {EaseRole, "ease"},
                  {CurrentRole, "current"},
                  {TweensPlayedRole, "tweensPlayed"}});
    return names;
}

QVariant KeysModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const auto key = static_cast<std::size_t>(index.row());
    const Row &row = m_rows[key];
    switch (role) {
    case Qt::DisplayRole:
        return tr("hold %1, in-betweens %2").arg(row.hold).arg(row.tweens);
    case Qt::DecorationRole:
        return m_pictures.picture(key);
    case FirstFrameRole:
        return qulonglong(row.firstFrame);
    case HoldRole:
        return row.hold;
    case TweensRole:
        return row.tweens;
    case EaseRole:
        return row.ease == Ease::Smooth ? QStringLiteral("Smooth") : QStringLiteral("Linear");
    case CurrentRole:
        return row.current;
    case TweensPlayedRole:
        return row.tweensPlayed;
    default:
        return {};
    }
}

void KeysModel::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    followKeyRows(change);
    switch (change.what) {
    case What::KeyFigure:
        changeRows(change.key, change.key, {Qt::DecorationRole});
        break;
    case What::KeyTiming: {
        const Row timed = rowOf(change.key);
        Row &row = m_rows[change.key];
        std::tie(row.hold, row.tweens, row.ease) = std::tie(timed.hold, timed.tweens, timed.ease);
        changeRows(change.key, change.key, {Qt::DisplayRole, HoldRole, TweensRole, EaseRole});
        break;
    }
    case What::KeysReversed:
        changeRows(change.key, change.destination, {});
        break;
    case What::Cast:
        changeAllPictures();
        break;
    default:
        break;
    }
    settleFirstFrames();
    settleTweensPlayed();
    settleCurrent();
}

void KeysModel::followKeyRows(const AnimationChange &change)
{
    using What = AnimationChange::What;
    const int first = static_cast<int>(change.key);
    const int last = first + static_cast<int>(change.count) - 1;
    // The pictures are in step too before the views hear of the rows.
    const auto apply = [&] {
        followKeys(m_rows, change, m_document.animation().keyCount(), [this](std::size_t key) { return rowOf(key); });
        m_pictures.follow(change);
    };
    switch (change.what) {
    case What::KeyInserted:
        beginInsertRows({}, first, last);
        apply();
        endInsertRows();
        break;
    case What::KeyRemoved:
        beginRemoveRows({}, first, last);
        apply();
        endRemoveRows();
        break;
    case What::KeyMoved: {
        // A row moved later goes in front of the row after its new place.
        const int to = static_cast<int>(change.destination);
        beginMoveRows({}, first, first, {}, to > first ? to + 1 : to);
        apply();
        endMoveRows();
        break;
    }
    case What::Whole:
        beginResetModel();
        apply();
        endResetModel();
        break;
    default:
        apply();
        break;
    }
}

void KeysModel::changeRows(std::size_t first, std::size_t last, const QList<int> &roles)
{
    emit dataChanged(index(static_cast<int>(first)), index(static_cast<int>(last)), roles);
}

void KeysModel::settleFirstFrames()
{
    std::size_t frame = 0;
    std::optional<std::size_t> first;
    std::size_t last = 0;
    for (std::size_t key = 0; key < m_rows.size(); ++key) {
        Row &row = m_rows[key];
        if (row.firstFrame != frame) {
            row.firstFrame = frame;
            first = first.value_or(key);
            last = key;
        }
        frame += static_cast<std::size_t>(row.hold + row.tweens);
    }
    if (first)
        changeRows(*first, last, {FirstFrameRole});
}

void KeysModel::settleCurrent()
{
    const std::size_t current = m_document.currentKey();
    for (std::size_t key = 0; key < m_rows.size(); ++key) {
        if (m_rows[key].current != (key == current)) {
            m_rows[key].current = key == current;
            changeRows(key, key, {CurrentRole});
        }
    }
}

void KeysModel::settleTweensPlayed()
{
    for (std::size_t key = 0; key < m_rows.size(); ++key) {
        if (m_rows[key].tweensPlayed != playsTweens(key)) {
            m_rows[key].tweensPlayed = playsTweens(key);
            changeRows(key, key, {TweensPlayedRole});
        }
    }
}

} // namespace zelbrook
