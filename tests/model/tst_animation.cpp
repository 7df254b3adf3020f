// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"
#include "model/animation_edit.h"
#include "model/limb_solve.h"
#include "model/pose_field.h"

#include "test_support.h"

#include <QPointF>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace zelbrook;

namespace {

constexpr double kPi = std::numbers::pi;

Key keyOf(int hold, int tweens, double bodyLength = 35)
{
    Key key{Figure{test::startPose()}, hold, tweens};
    key.figures.front().figure.pose.bodyLength = bodyLength;
    return key;
}

// Frames written as "k" for key k itself and "k:s/n" for in-between s of n
// after key k.
QString framesText(const Animation &animation)
{
    QStringList text;
    for (const FrameRef &frame : animation.frames()) {
        text << (frame.step == 0 ? QString::number(frame.key)
                                 : QStringLiteral("%1:%2/%3").arg(frame.key).arg(frame.step).arg(frame.of));
    }
    return text.join(' ');
}

// Whether looking up each frame alone finds what the whole list holds.
bool framesLookedUpAlone(const Animation &animation)
{
    const std::vector<FrameRef> frames = animation.frames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (!(animation.frameAt(i) == frames[i]) || animation.frameAt(animation.frameOf(frames[i])) != frames[i])
            return false;
    }
    return animation.frameCount() == frames.size();
}

} // namespace

class TestAnimation : public QObject
{
    Q_OBJECT

private slots:
    void framesFollowHoldsAndTweens_data()
    {
        QTest::addColumn<QList<int>>("holdsAndTweens");
        QTest::addColumn<bool>("loop");
        QTest::addColumn<QString>("frames");
        QTest::newRow("one key") << QList<int>{1, 0} << true << "0";
        QTest::newRow("held, looping back to itself") << QList<int>{3, 2} << true << "0 0 0 0:1/2 0:2/2";
        QTest::newRow("held, not looping") << QList<int>{3, 2} << false << "0 0 0";
        QTest::newRow("two keys, looping") << QList<int>{1, 1, 2, 3} << true << "0 0:1/1 1 1 1:1/3 1:2/3 1:3/3";
        QTest::newRow("two keys, once") << QList<int>{1, 1, 2, 3} << false << "0 0:1/1 1 1";
        QTest::newRow("a hold between in-betweens")
            << QList<int>{1, 2, 3, 0, 1, 1} << true << "0 0:1/2 0:2/2 1 1 1 2 2:1/1";
        QTest::newRow("in-betweens of keys held once") << QList<int>{1, 1, 1, 1, 1, 2} << false << "0 0:1/1 1 1:1/1 2";
    }
    void framesFollowHoldsAndTweens()
    {
        QFETCH(QList<int>, holdsAndTweens);
        QFETCH(bool, loop);
        QFETCH(QString, frames);
        std::vector<Key> keys;
        for (qsizetype i = 0; i < holdsAndTweens.size(); i += 2)
            keys.push_back(keyOf(holdsAndTweens[i], holdsAndTweens[i + 1]));
        const Animation animation(Playback{12, loop}, keys);
        QCOMPARE(framesText(animation), frames);
        QCOMPARE(animation.frameCount(), std::size_t(frames.count(' ') + 1));
        QVERIFY(framesLookedUpAlone(animation));
    }

    // Values worked out by hand: t is step / (of + 1), or 3t² - 2t³ smooth.
    void inBetweensTakeEachFieldItsWay_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("of");
        QTest::addColumn<bool>("smooth");
        QTest::addColumn<double>("expected");
        const auto row = [](const char *name, FieldId field, double from, double to, int step, int of, bool smooth,
                            double expected) {
            QTest::newRow(name) << int(field) << from << to << step << of << smooth << expected;
        };
        row("across 0/360 the short way", FieldId::LLegAngle1, 350 / 57.3, 10 / 57.3, 1, 1, false, 180 / 57.3 + kPi);
        row("back across 0/360", FieldId::RArmAngle1, 10 / 57.3, 350 / 57.3, 1, 1, false, 180 / 57.3 - kPi);
        row("exactly half a turn goes +pi", FieldId::BodyAngle, 0, kPi, 1, 1, false, kPi / 2);
        row("minus half a turn goes +pi", FieldId::Rotation, kPi, 0, 1, 1, false, 1.5 * kPi);
        row("180 slider degrees turn as signed", FieldId::LArmAngle1, 0, -180 / 57.3, 1, 1, false, -90 / 57.3);
        row("a bend straightens on the way", FieldId::LLegAngle2, 170 / 57.3, -170 / 57.3, 1, 1, false, 0);
        row("lengths go straight", FieldId::ArmLength2, 20, 60, 3, 3, false, 50);
        row("smooth at a quarter", FieldId::BodyLength, 10, 90, 1, 3, true, 22.5);
        row("smooth at a half", FieldId::HeadWidth, 0.5, 1.5, 1, 1, true, 1.0);
        row("head radius half to even down", FieldId::HeadRadius, 10, 11, 1, 1, false, 10);
        row("head radius half to even up", FieldId::HeadRadius, 10, 13, 1, 1, false, 12);
        row("head radius to nearest", FieldId::HeadRadius, 10, 15, 1, 3, false, 11);
        row("hip in single precision", FieldId::HipX, 100, 201, 1, 1, false, 150.5);
        row("scale", FieldId::Scale, 1, 3, 1, 3, false, 1.5);
        row("the pen is the first key's", FieldId::PenWidth, 2, 7, 1, 1, false, 2);
    }
    void inBetweensTakeEachFieldItsWay()
    {
        QFETCH(int, field);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, step);
        QFETCH(int, of);
        QFETCH(bool, smooth);
        QFETCH(double, expected);
        const PoseField &row = poseField(FieldId(field));
        Figure a{test::startPose()};
        Figure b = a;
        QVERIFY(row.assign(a, from) && row.assign(b, to));
        const Figure between = inBetween(a, b, step, of, smooth ? Ease::Smooth : Ease::Linear);
        QVERIFY2(std::abs(row.value(between) - expected) < 1e-12,
                 qPrintable(QString::number(row.value(between), 'g', 17)));
        for (const PoseField &other : poseFields()) {
            if (other.id != row.id)
                QCOMPARE(other.value(between), other.value(a));
        }
    }

    // A hip at (250, 200), level, unturned, the body exactly upright: a thigh
    // and shin of 30 and 40 make a right angle at the knee for a foot 50
    // away (the knee 0.6 and 0.8 of the thigh across and down); the arms do
    // the same at twice the size, the shoulder 0.8 of a body of 25 above the
    // hip. A side of 1 or -1 is a bend counter-clockwise or clockwise, 2 or
    // -2 that of a straight limb of a figure facing right or left.
    void reachesInClosedForm_data()
    {
        QTest::addColumn<int>("limb");
        QTest::addColumn<QPointF>("lengths");
        QTest::addColumn<QPointF>("target");
        QTest::addColumn<int>("side");
        QTest::addColumn<QPointF>("bend");
        QTest::addColumn<QPointF>("end");
        const auto row = [](const char *name, Limb limb, QPointF lengths, QPointF target, int side, QPointF bend,
                            QPointF end) {
            QTest::newRow(name) << int(limb) << lengths << target << side << bend << end;
        };
        const Limb foot = Limb::RFoot;
        row("reachable, counter-clockwise", foot, {30, 40}, {300, 200}, 1, {268, 224}, {300, 200});
        row("reachable, clockwise", foot, {30, 40}, {300, 200}, -1, {268, 176}, {300, 200});
        row("out of reach", foot, {30, 40}, {350, 200}, 1, {280, 200}, {320, 200});
        row("nearer than the difference", foot, {30, 40}, {255, 200}, 1, {220, 200}, {260, 200});
        row("thigh longer, too near", foot, {40, 30}, {245, 200}, 1, {210, 200}, {240, 200});
        row("full stretch", foot, {30, 40}, {250, 270}, 1, {250, 230}, {250, 270});
        // cos 36.34 degrees is 2900 / 3600 by the law of cosines.
        row("straight, facing right", foot, {30, 40}, {250, 260}, 2, {267.7756075, 224.1666667}, {250, 260});
        row("straight, facing left", foot, {30, 40}, {250, 260}, -2, {232.2243925, 224.1666667}, {250, 260});
        row("equal lengths, pin at the hip", foot, {30, 30}, {250, 200}, 1, {280, 200}, {250, 200});
        row("arm at twice the size", Limb::LHand, {15, 20}, {300, 160}, 1, {268, 184}, {300, 160});
        row("arm up, facing right", Limb::RHand, {15, 20}, {250, 100}, 2, {267.7756075, 135.8333333}, {250, 100});
    }
    void reachesInClosedForm()
    {
        QFETCH(int, limb);
        QFETCH(QPointF, lengths);
        QFETCH(QPointF, target);
        QFETCH(int, side);
        QFETCH(QPointF, bend);
        QFETCH(QPointF, end);
        const auto which = static_cast<Limb>(limb);
        Pose pose = test::startPose();
        pose.hipX = 250;
        pose.hipY = 200;
        pose.bodyAngle = std::numbers::pi / 2;
        pose.bodyLength = 25;
        pose.rLegAngle1 = pose.rLegAngle2 = 0;
        const LimbMembers members = limbMembers(which);
        pose.*members.length1 = lengths.x();
        pose.*members.length2 = lengths.y();
        pose.scale = isArm(which) ? 2 : 1;
        const Point to{target.x(), target.y()};
        const Facing facing = side > 0 ? Facing::Right : Facing::Left;
        Pose solved = pose;
        solveLimb(solved, which, to, std::abs(side) == 2 ? bendTowards(facing, pose, which, to) : Bend(side));
        const LimbJoints joints = limbJoints(solved, which);
        QVERIFY(std::hypot(joints.bend.x - bend.x(), joints.bend.y - bend.y()) < 1e-6);
        QVERIFY(std::hypot(joints.end.x - end.x(), joints.end.y - end.y()) < 1e-6);
        // The angles stay where a slider can show them, and nothing else moves.
        const double first = solved.*members.angle1 * (which == Limb::RHand ? -DEG_PER_RAD : DEG_PER_RAD);
        QVERIFY(first > -0.5 && first < 360.5 && std::abs(solved.*members.angle2 * DEG_PER_RAD) < 180.5);
        solved.*members.angle1 = pose.*members.angle1;
        solved.*members.angle2 = pose.*members.angle2;
        QCOMPARE(solved, pose);
    }

    // Both feet pinned where the first key puts them, the hip moving between
    // the keys: every in-between has each foot at its pin, or as near as
    // the leg reaches, straight towards it or folded.
    void pinnedEndsStayThroughInBetweens_data()
    {
        QTest::addColumn<int>("tweens");
        QTest::addColumn<bool>("smooth");
        QTest::addColumn<QPointF>("hipMoves");
        QTest::addColumn<bool>("turnsRound");
        const auto row = [](const char *name, int tweens, bool smooth, QPointF moves, bool turnsRound = false) {
            QTest::newRow(name) << tweens << smooth << moves << turnsRound;
        };
        row("no in-between", 0, false, {20, 5});
        row("one", 1, false, {20, 5});
        row("seven, smooth", 7, true, {-15, 12});
        row("a thousand", 1000, false, {20, 5});
        row("a thousand, smooth", 1000, true, {-30, 20});
        row("thigh across 0/360, body turning round", 7, false, {10, -5}, true);
        row("stepping out of reach", 7, false, {200, 0});
        row("crouching nearer than the difference", 7, true, {0, 45});
    }
    void pinnedEndsStayThroughInBetweens()
    {
        QFETCH(int, tweens);
        QFETCH(bool, smooth);
        QFETCH(QPointF, hipMoves);
        QFETCH(bool, turnsRound);
        Figure first{test::startPose()};
        first.pose.hipX = 200;
        first.pose.legLength1 = 40;
        first.pose.legLength2 = 20;
        first.pose.lLegAngle1 = (turnsRound ? 350 : 266) / 57.3;
        for (const Limb foot : {Limb::LFoot, Limb::RFoot})
            first.pin(foot) = limbJoints(first.pose, foot).end;
        Figure second = first;
        second.pose.hipX += float(hipMoves.x());
        second.pose.hipY += hipMoves.y();
        second.pose.lLegAngle1 = (turnsRound ? 10 : 300) / 57.3;
        second.pose.rotation = turnsRound ? 0.5 : 0;
        second.pose.bodyAngle = turnsRound ? -2.5 : first.pose.bodyAngle;
        const Animation animation({}, {Key(first, 1, tweens, smooth ? Ease::Smooth : Ease::Linear), Key(second)});
        // The second key's own values do not reach the pins, and win there.
        for (std::size_t at = 0; at < animation.firstFrameOf(1); ++at) {
            const Figure shown = animation.sceneAt(animation.frameAt(at)).front().figure;
            QCOMPARE(animation.figureAt(animation.frameAt(at)), shown);
            QCOMPARE(shown.pins, first.pins);
            for (const Limb foot : {Limb::LFoot, Limb::RFoot}) {
                const LimbJoints joints = limbJoints(shown.pose, foot);
                const Point pin = *first.pin(foot);
                const double reach = std::hypot(pin.x - joints.root.x, pin.y - joints.root.y);
                const double off = std::hypot(pin.x - joints.end.x, pin.y - joints.end.y);
                QVERIFY2(std::abs(off - std::max({0.0, reach - 60, 20 - reach})) <= 0.01,
                         qPrintable(QString::number(at)));
            }
        }
    }

    // Each edit and its inverse, applied in turn, give back the animation
    // exactly; a refused edit changes nothing.
    void editsUndoExactlyAndRefusalsChangeNothing_data()
    {
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("insert") << 0 << "";
        QTest::newRow("remove") << 1 << "";
        QTest::newRow("move") << 2 << "";
        QTest::newRow("change key") << 3 << "";
        QTest::newRow("change playback") << 4 << "";
        QTest::newRow("no such key") << 5 << "there is no key 4 of 3";
        QTest::newRow("hold 0") << 6 << "key 2: hold is 0, outside 1 to 1000";
        QTest::newRow("fps 61") << 7 << "fps is 61, outside 1 to 60";
        QTest::newRow("too many frames") << 8 << "the animation has 100001 frames, more than 100000";
        QTest::newRow("the last key") << 9 << "the last key cannot be removed";
    }
    void editsUndoExactlyAndRefusalsChangeNothing()
    {
        QFETCH(int, edit);
        QFETCH(QString, refusal);
        Animation animation(Playback{}, {keyOf(1, 2, 35), keyOf(2, 0, 50.25), keyOf(1, 0, 1 / 3.0)});
        if (edit == 8) // 50 keys of 2000 frames each: as many frames as an animation may have
            animation = Animation(Playback{}, std::vector<Key>(50, keyOf(1000, 1000)));
        if (edit == 9)
            animation = Animation();
        const Animation original = animation;
        Key changed = animation.keys().back();
        changed.hold = edit == 6 ? 0 : 7;
        changed.figures.front().figure.pose.hipY = 0.1 + 0.2;
        const AnimationEdit edits[] = {
            AnimationEdit::insertKey(3, changed),
            AnimationEdit::removeKey(animation, 0),
            AnimationEdit::moveKey(0, 2),
            AnimationEdit::changeKey(animation, 1, changed),
            AnimationEdit::changePlayback(animation, Playback{24, false}),
            AnimationEdit::moveKey(3, 0),
            AnimationEdit::changeKey(animation, 1, changed),
            AnimationEdit::changePlayback(animation, Playback{61, true}),
            AnimationEdit::insertKey(0, keyOf(1, 0)),
            AnimationEdit::removeKey(animation, 0),
        };
        const Status applied = edits[edit].applyTo(animation);
        QCOMPARE(QString::fromStdString(applied ? std::string() : applied.error().message), refusal);
        QVERIFY(framesLookedUpAlone(animation));
        if (refusal.isEmpty()) {
            QVERIFY(animation.keys() != original.keys() || animation.playback() != original.playback());
            QVERIFY(edits[edit].inverse().applyTo(animation));
            QVERIFY(framesLookedUpAlone(animation));
        }
        QVERIFY(animation.keys() == original.keys());
        QVERIFY(animation.playback() == original.playback());
    }
};

QTEST_APPLESS_MAIN(TestAnimation)
#include "tst_animation.moc"
