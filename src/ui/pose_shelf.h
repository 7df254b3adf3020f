// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/result.h"
#include "platform/shelf_folders.h"

#include <QString>

#include <optional>
#include <vector>

namespace zelbrook {

// One pose or move on the shelf: its name, its file, whether it came with
// the program, and the figures of its picture (a pose's figure, a move's
// first key), none when the file cannot be read, and then the reader's
// reason.
struct ShelfItem {
    QString name;
    QString path;
    bool shipped = false;
    std::vector<SceneFigure> scene;
    // A move's whole animation.
    std::optional<Animation> animation;
    QString problem;
    bool read = false;

    bool isReadable() const { return problem.isEmpty(); }
};

// The poses that come with the program, then the user's own, each in order
// of their names, and the moves that come with the program. Filling the
// shelf only lists the folders; a file is read whole the first time its
// item is asked for, so that a large shelf opens at once. A file that
// cannot be read stays on the shelf with the reason.
class PoseShelf
{
public:
    struct Folders {
        QString shippedPoses;
        QString userPoses;
        QString shippedMoves;
    };

    explicit PoseShelf(Folders folders);
    // The folders the program finds beside itself and in the user's data.
    static Folders standardFolders();

    const Folders &folders() const { return m_folders; }
    // The items as listed: names, paths and whether they are shipped.
    const std::vector<ShelfItem> &poses() const { return m_poses; }
    const std::vector<ShelfItem> &moves() const { return m_moves; }
    // An item with its file read.
    const ShelfItem &pose(std::size_t index) const;
    const ShelfItem &move(std::size_t index) const;
    void reload();

    // The pose of item `index` read over `current`, as an open reads it:
    // the file's limbs, lengths and head, the rest kept from `current`.
    Result<Pose> poseOver(std::size_t index, const Pose &current) const;

    // The user's own pose of that name, if there is one.
    std::optional<std::size_t> findOwn(const QString &name) const;
    // Saves the pose under the name in the user's folder, made on first
    // use, replacing one of the same name. A name is refused as a figure's
    // is (checkFigureName).
    Status add(const QString &name, const Pose &pose);
    // Takes one of the user's own off the shelf, to the trash where the
    // desktop has one; the shipped ones stay.
    Status remove(std::size_t index);

private:
    static void listFolder(const QString &folder, ShelfKind kind, bool shipped, std::vector<ShelfItem> &items);
    static const ShelfItem &readItem(ShelfItem &item, ShelfKind kind);

    Folders m_folders;
    mutable std::vector<ShelfItem> m_poses;
    mutable std::vector<ShelfItem> m_moves;
};

} // namespace zelbrook
