// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/key_pictures.h"

#include <QAbstractListModel>

#include <vector>

namespace zelbrook {

class DocumentSignals;

// The animation's keys as a list, a row a key: its hold and in-betweens as
// text, a small picture of its scene as its decoration, and its first
// frame, hold, in-betweens, ease, whether its in-betweens are played (every
// key's but the last's of an animation that does not loop) and whether it
// is current in roles of their own. A picture is drawn when a view first
// asks for it, so that keys never shown cost none. The model keeps the rows it has told its views of and follows
// each change of the document with the least it can say: a value moved in
// one key changes that key's picture alone, a key that comes, goes or moves
// is a row that does, and a change of timing moves the first frames of the
// keys after it.
class KeysModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        FirstFrameRole = Qt::UserRole + 1,
        HoldRole,
        TweensRole,
        EaseRole,
        CurrentRole,
        TweensPlayedRole,
    };
    static constexpr QSize kPictureSize{60, 48};

    explicit KeysModel(DocumentSignals &changes, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QSize pictureSize() const { return m_pictures.box(); }
    // Both tell of every key's picture as changed.
    void setPictureSize(QSize size);
    // Draws the pictures with the left arm and leg lighter, or not.
    void setSides(bool apart);
    int picturesDrawn() const { return m_pictures.drawn(); }

private:
    struct Row {
        int hold = 1;
        int tweens = 0;
        Ease ease = Ease::Linear;
        std::size_t firstFrame = 0;
        bool current = false;
        bool tweensPlayed = true;
    };

    void follow(const AnimationChange &change);
    // Changes the rows as the keys changed, telling the views before and after.
    void followKeyRows(const AnimationChange &change);
    void changeRows(std::size_t first, std::size_t last, const QList<int> &roles);
    void changeAllPictures();
    Row rowOf(std::size_t key) const;
    // Works out every first frame again and tells of those that moved.
    void settleFirstFrames();
    // Marks the current key's row alone as current, telling of each row
    // that changes; the row that was current has moved with its key.
    void settleCurrent();
    void settleTweensPlayed();
    bool playsTweens(std::size_t key) const;

    const AnimationDocument &m_document;
    std::vector<Row> m_rows;
    mutable KeyPictures m_pictures;
};

} // namespace zelbrook
