// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace zelbrook {

class DocumentSignals;

// The animation's cast as a list, a row a figure in drawing order, back to
// front: its name, a swatch of its colour, and in roles of their own its
// id, its colour, whether the current key holds it and whether it is
// current. A name is edited through the document as one step; a name it
// refuses leaves the figure as it was and keeps the reason for the caller
// to show. The model tells its views only what differs after a change: a
// figure that joins, leaves or moves in the drawing order is a row that
// does, a renamed or recoloured one a row that changes, and a change of a
// pose nothing at all.
class FiguresModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        ColorRole,
        HeldRole,
        CurrentRole,
    };

    explicit FiguresModel(DocumentSignals &changes, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QHash<int, QByteArray> roleNames() const override;
    // Why the last name given was refused; empty after one taken.
    QString refusal() const { return m_refusal; }

private:
    struct Row {
        FigureId id;
        std::string name;
        Color color;
        bool held;
        bool current;

        friend bool operator==(const Row &, const Row &) = default;
    };

    std::vector<Row> rowsNow() const;
    void follow();
    // Brings the rows to the figures of `now` by one row that comes, goes
    // or moves, telling the views; false when no such row does it.
    bool followCast(const std::vector<Row> &now);
    bool moveRow(std::size_t from, std::size_t to);

    AnimationDocument &m_document;
    std::vector<Row> m_rows;
    QString m_refusal;
};

} // namespace zelbrook
