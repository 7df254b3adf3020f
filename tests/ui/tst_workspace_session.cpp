// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "../tools/render_process.h"

#include "posefile/animation_file.h"
#include "render/joints.h"
#include "ui/action_table.h"
#include "ui/export_choices.h"
#include "ui/pose_shelf_panel.h"
#include "ui/shelf_commands.h"
#include "ui/workspace/stage.h"
#include "ui/workspace/timeline_view.h"

#include <QAction>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>

using namespace zelbrook;

namespace {

// Two figures, the second red, walking a step in two keys with three
// in-betweens each way.
Animation twoFigureWalk()
{
    const auto at = [](float hipX, double body) {
        Pose pose = Pose::defaults(500);
        pose.hipX = hipX;
        pose.bodyAngle += body;
        return Figure{pose};
    };
    const std::vector<CastFigure> cast{{kFirstFigureId, "Ann", kBlack}, {kFirstFigureId + 1, "Bo", 0xFF0000}};
    std::vector<Key> keys{
        Key({{kFirstFigureId, at(150, 0)}, {kFirstFigureId + 1, at(330, 0)}}, 1, 3, Ease::Linear),
        Key({{kFirstFigureId, at(210, 0.3)}, {kFirstFigureId + 1, at(390, -0.3)}}, 1, 3, Ease::Linear)};
    return Animation(Playback{12, true}, cast, std::move(keys));
}

// Where a point of the stage's units shows on the stage's viewport.
QPoint stagePoint(const Stage &stage, Point at)
{
    const QRectF picture = stage.pictureRect();
    const double scale = picture.width() / 493;
    return (picture.topLeft() + QPointF(at.x * 493 / 500, at.y * 397 / 400) * scale).toPoint();
}

} // namespace

class TestWorkspaceSession : public QObject
{
    Q_OBJECT

private slots:
    // As a user works: open a two-figure walk, maximise, scrub to an
    // in-between, drag a hand there, undo, export. The drag makes the
    // in-between a key and moves no frame in time; undo puts the walk back
    // with the playhead where it was; the export is the file's own.
    void aWalkIsScrubbedEditedUndoneAndExported()
    {
        QTemporaryDir dir;
        const QString walk = dir.filePath("walk.zba");
        test::writeFile(walk, QByteArray::fromStdString(writeAnimationFile(twoFigureWalk())));
        ActiveWindow w;
        w.window->openPoseNamed(walk.toStdString());
        QVERIFY(w.window->faces().showsWorkspace());
        WorkspaceWindow &workspace = *w.window->faces().workspace();
        workspace.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&workspace));
        QApplication::setActiveWindow(&workspace);
        const AnimationDocument &document = w.window->document();
        const Animation opened = document.animation();

        auto *timeline = workspace.findChild<TimelineView *>(QStringLiteral("timelineView"));
        QVERIFY(timeline && timeline->isVisible());
        const QPoint onRuler(timeline->frameX(2) + timeline->pixelsPerFrame() / 2, 3);
        QTest::mousePress(timeline->viewport(), Qt::LeftButton, {}, onRuler);
        QTest::mouseRelease(timeline->viewport(), Qt::LeftButton, {}, onRuler);
        QCOMPARE(document.shownFrame(), std::size_t(2));
        QCOMPARE(document.shownInBetween(), std::optional(FrameRef{0, 2, 3}));
        QCOMPARE(timeline->playhead(), std::size_t(2));

        auto *stage = workspace.findChild<Stage *>(QStringLiteral("stage"));
        const QPoint from = stagePoint(*stage, ComputeJoints(document.figure().pose).rHand);
        QTest::mousePress(stage->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(stage->viewport(), from + QPoint(0, 40));
        QTest::mouseRelease(stage->viewport(), Qt::LeftButton, {}, from + QPoint(0, 40));
        const Animation &edited = document.animation();
        QCOMPARE(edited.keyCount(), std::size_t(3));
        QCOMPARE(edited.frameCount(), opened.frameCount());
        QVERIFY(edited.key(1).figures.front().figure.pose.rArmAngle2
                != opened.sceneAt({0, 2, 3}).front().figure.pose.rArmAngle2);

        QTest::keyClick(&workspace, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(document.animation().keys() == opened.keys());
        QCOMPARE(document.shownFrame(), std::size_t(2));

        ExportChoices gif;
        w.window->animationFiles().setExportChooser([gif](const ExportChoices &) { return gif; });
        w.answers = {dir.filePath("window.gif")};
        workspace.command(ActionId::ExportAnimation)->trigger();
        const RenderRun run = runRender(dir.path(), {walk, QStringLiteral("render.gif")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(test::fileBytes(dir.filePath("window.gif")) == test::fileBytes(dir.filePath("render.gif")));
    }

    // As a user works with pins: a figure turned to face left takes a walk
    // cycle from the shelf twice, then leans on a wall with a hand pinned
    // (P on the stage, a new key, the hip dragged), plays and is exported.
    // In zelbrook-render's frames of the saved file every pinned end is at
    // its pin, the stance feet and the hand hold, and the figure walks left.
    void aFigureFacingLeftWalksThenLeansOnAWall()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        AnimationDocument &document = w.window->document();
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_M));
        const float startHip = document.figure().pose.hipX;
        auto *shelf = w.window->findChild<ShelfCommands *>();
        shelf->setFolders(PoseShelf::standardFolders());
        shelf->showPoses();
        QListView *moves = shelf->panel()->moveList();
        moves->setCurrentIndex(moves->model()->match(moves->model()->index(0, 0), Qt::DisplayRole, "Walk cycle")[0]);
        QTest::keyClick(moves, Qt::Key_Enter);
        QTest::keyClick(moves, Qt::Key_Enter);
        WorkspaceWindow *workspace = w.window->faces().workspace();
        QVERIFY(QTest::qWaitForWindowExposed(workspace));
        auto *stage = workspace->findChild<Stage *>(QStringLiteral("stage"));
        const QPoint hand = stagePoint(*stage, limbJoints(document.figure().pose, Limb::RHand).end);
        QMouseEvent rest(QEvent::MouseMove, hand, stage->viewport()->mapToGlobal(hand), Qt::NoButton, {}, {});
        QApplication::sendEvent(stage->viewport(), &rest);
        QTest::keyClick(stage, Qt::Key_P);
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        const QPoint hip = stagePoint(*stage, {document.figure().pose.hipX, document.figure().pose.hipY});
        QTest::mousePress(stage->viewport(), Qt::LeftButton, {}, hip);
        QTest::mouseMove(stage->viewport(), hip + QPoint(6, 4));
        QTest::mouseRelease(stage->viewport(), Qt::LeftButton, {}, hip + QPoint(6, 4));
        QTest::keyClick(stage, Qt::Key_Space);
        QTest::qWait(100);
        QTest::keyClick(stage, Qt::Key_Space);

        w.answers = {dir.filePath("lean.zba"), dir.filePath("window.gif")};
        w.window->animationFiles().saveAnimationAs();
        w.window->animationFiles().setExportChooser([](const ExportChoices &) { return ExportChoices{}; });
        workspace->command(ActionId::ExportAnimation)->trigger();
        QVERIFY(QFileInfo(dir.filePath("window.gif")).size() > 0);
        const RenderRun run = runRender(dir.path(), {"--format", "json", "lean.zba", "-"});
        const QJsonArray frames = QJsonDocument::fromJson(run.out).object()["frames"].toArray();
        QCOMPARE(qsizetype(frames.size()), qsizetype(document.animation().frameCount()));
        QMap<QString, int> held;
        for (const QJsonValue &frame : frames) {
            QCOMPARE(frame["facing"].toString(), QStringLiteral("left"));
            const QJsonObject pins = frame["pins"].toObject();
            for (auto pin = pins.begin(); pin != pins.end(); ++held[pin.key().mid(1)], ++pin) {
                const QJsonArray at = pin->toArray(), end = frame["joints"][pin.key()].toArray();
                QVERIFY(std::hypot(at[0].toDouble() - end[0].toDouble(), at[1].toDouble() - end[1].toDouble()) <= 0.01);
            }
        }
        QVERIFY(held["Foot"] >= 16 && held["Hand"] >= 2);
        QVERIFY(document.animation().key(document.currentKey() - 1).figures.front().figure.pose.hipX < startHip - 80);
    }

    // The window goes while a hand is dragged on the stage or on the
    // poser's canvas: the drag ends with it and nothing is left behind.
    void theWindowGoesDuringADrag_data()
    {
        QTest::addColumn<bool>("onStage");
        QTest::newRow("on the stage") << true;
        QTest::newRow("on the poser's canvas") << false;
    }
    void theWindowGoesDuringADrag()
    {
        QFETCH(bool, onStage);
        ActiveWindow w;
        if (onStage)
            w.keys(QKeySequence(Qt::CTRL | Qt::Key_T));
        QWidget *canvas = w.canvas();
        QWidget *area = onStage ? static_cast<Stage *>(canvas)->viewport() : canvas;
        const Point rHand = ComputeJoints(w.window->document().figure().pose).rHand;
        const QPoint hand = onStage ? stagePoint(*static_cast<Stage *>(canvas), rHand) : w.onCanvas(rHand.x, rHand.y);
        QTest::mousePress(area, Qt::LeftButton, {}, hand);
        QTest::mouseMove(area, hand + QPoint(0, 30));
        QVERIFY(w.window->document().canUndo());
        w.window.reset();
    }

    // File > Open Recent holds the animations of this run, the latest
    // first and each once, and opens one again.
    void openRecentOpensAFileOfThisRunAgain()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.zba", "b.zba"})
            test::writeFile(dir.filePath(name), QByteArray::fromStdString(writeAnimationFile(twoFigureWalk())));
        ActiveWindow w;
        for (const char *name : {"a.zba", "b.zba", "a.zba"})
            w.window->openPoseNamed(dir.filePath(name).toStdString());
        w.answers = {dir.filePath("c.zba")};
        w.window->animationFiles().saveAnimationAs();
        auto *recent = w.window->faces().workspace()->findChild<QMenu *>(QStringLiteral("openRecent"));
        QVERIFY(recent);
        QStringList shown;
        for (const QAction *entry : recent->actions())
            shown << entry->text();
        QCOMPARE(shown, (QStringList{"&1 c.zba", "&2 a.zba", "&3 b.zba"}));
        recent->actions().at(2)->trigger();
        QCOMPARE(w.window->animationFiles().filePath(), dir.filePath("b.zba").toStdString());
    }
};

QTEST_MAIN(TestWorkspaceSession)
#include "tst_workspace_session.moc"
