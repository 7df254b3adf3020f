// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/move_placement.h"
#include "posefile/animation_file.h"

#include "test_support.h"

#include <QTest>

#include <cmath>

using namespace zelbrook;

// Each shipped move inserted twice on a figure facing either way: a walk or
// a run goes forward the way the figure faces, each foot that is down
// holding still (within 0.01 units) through every frame of its step, the
// second insert going on from where the first ended; a jump stays in place.
class TestTravellingMoves : public QObject
{
    Q_OBJECT

private slots:
    void movesWalkTheFigureSWay_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("left");
        QTest::addColumn<bool>("travels");
        QTest::newRow("walk, facing right") << "Walk cycle" << false << true;
        QTest::newRow("walk, facing left") << "Walk cycle" << true << true;
        QTest::newRow("run, facing right") << "Run cycle" << false << true;
        QTest::newRow("run, facing left") << "Run cycle" << true << true;
        QTest::newRow("jump stays") << "Jump" << true << false;
        QTest::newRow("wave stays") << "Wave" << false << false;
    }
    void movesWalkTheFigureSWay()
    {
        QFETCH(QString, move);
        QFETCH(bool, left);
        QFETCH(bool, travels);
        const QByteArray text = test::fileBytes(QStringLiteral(ZELBROOK_MOVES_DIR "/") + move + ".zba");
        const Result<Animation> shipped = readAnimationFile(text.toStdString(), test::startPose());
        QVERIFY2(shipped, shipped ? "" : shipped.error().message.c_str());
        Figure standing{test::startPose()};
        standing.pose.hipX = 250;
        standing.facing = left ? Facing::Left : Facing::Right;
        AnimationDocument document;
        document.replaceAnimation(Animation(standing));
        for (int insert = 0; insert < 2; ++insert) {
            const std::size_t current = document.currentKey();
            const std::vector<Key> keys = placedMove(*shipped, document.animation().key(current), kFirstFigureId);
            QVERIFY(document.insertKeys(current + 1, keys, kFirstFigureId));
        }
        const Animation &animation = document.animation();
        const auto hipX = [&](std::size_t key) { return double(animation.key(key).figures.front().figure.pose.hipX); };
        const double way = (hipX(animation.keyCount() - 1) - hipX(1)) * (left ? -1 : 1);
        QVERIFY2(travels ? way > 40 : way == 0, qPrintable(QString::number(way)));
        int held = 0;
        // The last key's in-betweens lead back to the first, which stands
        // elsewhere.
        for (std::size_t at = 0; at < animation.firstFrameOf(animation.keyCount() - 1); ++at) {
            const FrameRef frame = animation.frameAt(at);
            const Figure &from = animation.key(frame.key).figures.front().figure;
            const Figure &to = animation.key(frame.key + 1).figures.front().figure;
            const Figure shown = animation.figureAt(frame);
            QCOMPARE(shown.facing, standing.facing);
            for (const Limb foot : {Limb::LFoot, Limb::RFoot}) {
                if (!from.pin(foot) || from.pin(foot) != to.pin(foot))
                    continue;
                const Point end = limbJoints(shown.pose, foot).end;
                const Point pin = *from.pin(foot);
                QVERIFY2(std::hypot(end.x - pin.x, end.y - pin.y) <= 0.01,
                         qPrintable(QString("frame %1 of key %2").arg(frame.step).arg(frame.key)));
                ++held;
            }
        }
        QVERIFY2(travels ? held >= 8 : held == 0, qPrintable(QString::number(held)));
    }
};

QTEST_GUILESS_MAIN(TestTravellingMoves)
#include "tst_travelling_moves.moc"
