// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_shelf.h"

#include "model/cast.h"
#include "platform/raster_canvas.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zelbrook {

namespace {

std::string encoded(const QString &path) { return QFile::encodeName(path).toStdString(); }

Pose basePose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

QString reason(const Error &error) { return QString::fromStdString(error.message); }

void readPose(const std::string &text, ShelfItem &item)
{
    if (hasWrongFileType(text)) {
        item.problem = QString::fromUtf8(kWrongFileType.data(), static_cast<qsizetype>(kWrongFileType.size()));
        return;
    }
    const Result<Pose> pose = readPoseFile(text, basePose());
    if (!pose)
        item.problem = reason(pose.error());
    else
        item.scene = {SceneFigure{kFirstFigureId, defaultFigureName(kFirstFigureId), kBlack, Figure{pose.value()}}};
}

void readMove(const std::string &text, ShelfItem &item)
{
    Result<Animation> move = readAnimationFile(text, basePose());
    if (!move) {
        item.problem = reason(move.error());
        return;
    }
    item.scene = move->sceneAt({0, 0, 0});
    item.animation = std::move(move).value();
}

} // namespace

PoseShelf::PoseShelf(Folders folders)
    : m_folders(std::move(folders))
{
    reload();
}

PoseShelf::Folders PoseShelf::standardFolders()
{
    return {ShelfFolders::shipped(ShelfKind::Poses), ShelfFolders::userPoses(),
            ShelfFolders::shipped(ShelfKind::Moves)};
}

void PoseShelf::reload()
{
    m_poses.clear();
    m_moves.clear();
    listFolder(m_folders.shippedPoses, ShelfKind::Poses, true, m_poses);
    listFolder(m_folders.userPoses, ShelfKind::Poses, false, m_poses);
    listFolder(m_folders.shippedMoves, ShelfKind::Moves, true, m_moves);
}

void PoseShelf::listFolder(const QString &folder, ShelfKind kind, bool shipped, std::vector<ShelfItem> &items)
{
    for (const ShelfFile &file : ShelfFolders::files(folder, kind))
        items.push_back({file.name, file.path, shipped, {}, std::nullopt, {}, false});
}

const ShelfItem &PoseShelf::pose(std::size_t index) const { return readItem(m_poses.at(index), ShelfKind::Poses); }

const ShelfItem &PoseShelf::move(std::size_t index) const { return readItem(m_moves.at(index), ShelfKind::Moves); }

const ShelfItem &PoseShelf::readItem(ShelfItem &item, ShelfKind kind)
{
    if (item.read)
        return item;
    item.read = true;
    const Result<std::string> text = kind == ShelfKind::Poses
                                         ? SystemFile::readPoseBytes(encoded(item.path))
                                         : SystemFile::read(encoded(item.path), kMaximumAnimationFileSize);
    if (!text)
        item.problem = reason(text.error());
    else if (kind == ShelfKind::Poses)
        readPose(text.value(), item);
    else
        readMove(text.value(), item);
    return item;
}

Result<Pose> PoseShelf::poseOver(std::size_t index, const Pose &current) const
{
    const ShelfItem &item = pose(index);
    if (!item.isReadable())
        return Error{item.problem.toStdString()};
    Pose pose = item.scene.front().figure.pose;
    pose.hipX = current.hipX;
    pose.hipY = current.hipY;
    pose.scale = current.scale;
    pose.rotation = current.rotation;
    return pose;
}

std::optional<std::size_t> PoseShelf::findOwn(const QString &name) const
{
    const QString fileName = ShelfFolders::fileNameFor(name, ShelfKind::Poses);
    for (std::size_t i = 0; i < m_poses.size(); ++i) {
        if (!m_poses[i].shipped && QFileInfo(m_poses[i].path).fileName() == fileName)
            return i;
    }
    return std::nullopt;
}

Status PoseShelf::add(const QString &name, const Pose &pose)
{
    const QString fileName = ShelfFolders::fileNameFor(name, ShelfKind::Poses);
    if (fileName.isEmpty())
        return Error{"the pose needs a name"};
    if (Status valid = checkFigureName(name.toStdString()); !valid)
        return valid;
    if (!QDir().mkpath(m_folders.userPoses))
        return Error{"the folder " + m_folders.userPoses.toStdString() + " could not be made"};
    const Status written =
        SystemFile::write(encoded(QDir(m_folders.userPoses).filePath(fileName)), writePoseFile(pose));
    reload();
    return written;
}

Status PoseShelf::remove(std::size_t index)
{
    if (index >= m_poses.size())
        return Error{"there is no such pose on the shelf"};
    const ShelfItem &item = m_poses[index];
    if (item.shipped)
        return Error{"the poses that come with Zelbrook cannot be removed"};
    QFile file(item.path);
    if (!file.moveToTrash() && !file.remove())
        return Error{file.errorString().toStdString()};
    reload();
    return {};
}

} // namespace zelbrook
