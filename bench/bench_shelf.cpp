// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/pose_writer.h"
#include "ui/pose_shelf_panel.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

// The poses panel opened on a shelf of the shipped poses and moves and 100
// of the user's own, up to its first picture: the folders listed and the
// panel painted with the names in view, their small pictures still blank.
// Quoted against BM_DrawMan. With an argument of 1, the small pictures in
// view are drawn in as well.
void BM_OpenShelf(benchmark::State &state)
{
    QTemporaryDir user;
    for (int i = 0; i < 100; ++i) {
        Pose pose = Pose::defaults(500);
        pose.lArmAngle1 = i / 20.0;
        pose.rLegAngle1 = 4 + i / 50.0;
        QFile file(QDir(user.path()).filePath(QStringLiteral("pose %1.zbk").arg(i)));
        if (!file.open(QIODevice::WriteOnly) || file.write(writePoseFile(pose).c_str()) <= 0)
            return state.SkipWithError("the poses could not be written");
    }
    PoseShelf::Folders folders = PoseShelf::standardFolders();
    folders.userPoses = user.path();
    AnimationDocument document;
    QWidget window;
    for (auto _ : state) {
        PoseShelfPanel panel(document, folders, {}, &window);
        benchmark::DoNotOptimize(panel.grab());
        if (state.range(0) == 1) {
            QCoreApplication::processEvents();
            benchmark::DoNotOptimize(panel.grab());
        }
    }
}
BENCHMARK(BM_OpenShelf)->Arg(0)->Arg(1);

} // namespace
} // namespace zelbrook
