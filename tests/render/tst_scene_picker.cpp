// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/joints.h"
#include "render/scene_picker.h"

#include <QTest>

#include <cmath>

using namespace zelbrook;

namespace {

SceneFigure figureAt(FigureId id, float hipX)
{
    Figure figure{Pose::defaults(500)};
    figure.pose.hipX = hipX;
    return {id, defaultFigureName(id), kBlack, figure};
}

// Figures 1 and 2 stand one over the other, figure 2 in front; figure 3
// stands apart.
const std::vector<SceneFigure> kScene{figureAt(1, 150), figureAt(2, 150), figureAt(3, 350)};

// A point on the figure's left shin, `off` pixels to the side of its middle.
Point besideShin(const SceneFigure &figure, double off)
{
    const Joints j = ComputeJoints(figure.figure.pose);
    const Point knee = canvasUnitsToPixels(j.lKnee), foot = canvasUnitsToPixels(j.lFoot);
    const double length = std::hypot(foot.x - knee.x, foot.y - knee.y);
    const Point middle{(knee.x + foot.x) / 2, (knee.y + foot.y) / 2};
    return {middle.x - off * (foot.y - knee.y) / length, middle.y + off * (foot.x - knee.x) / length};
}

} // namespace

Q_DECLARE_METATYPE(zelbrook::Point)
Q_DECLARE_METATYPE(std::optional<zelbrook::ScenePick>)

class TestScenePicker : public QObject
{
    Q_OBJECT

private slots:
    void pickInScene_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<Point>("press");
        QTest::addColumn<double>("grabScale"); // the picture's pixels to one of the screen's
        QTest::addColumn<std::optional<ScenePick>>("picked");
        const Point hand = canvasUnitsToPixels(ComputeJoints(kScene[0].figure.pose).rHand);
        QTest::newRow("the current figure wins an overlap")
            << 1 << hand << 1.0 << std::optional(ScenePick{1, Joint::RHand});
        QTest::newRow("whichever is current") << 2 << hand << 1.0 << std::optional(ScenePick{2, Joint::RHand});
        QTest::newRow("else the front one") << 3 << hand << 1.0 << std::optional(ScenePick{2, Joint::RHand});
        QTest::newRow("a line within 4 pixels")
            << 1 << besideShin(kScene[2], 3.5) << 1.0 << std::optional(ScenePick{3, std::nullopt});
        QTest::newRow("a line 5 pixels off") << 1 << besideShin(kScene[2], 5.0) << 1.0 << std::optional<ScenePick>();
        QTest::newRow("a joint before a line") << 3 << canvasUnitsToPixels(Point{150, kScene[0].figure.pose.hipY})
                                               << 1.0 << std::optional(ScenePick{2, Joint::Hip});
        QTest::newRow("nothing there") << 1 << Point{5, 5} << 1.0 << std::optional<ScenePick>();
        // The reach is the screen's: twice the picture's pixels at half size.
        QTest::newRow("a line 5 pixels off at half size")
            << 1 << besideShin(kScene[2], 5.0) << 2.0 << std::optional(ScenePick{3, std::nullopt});
        QTest::newRow("a line 3.5 pixels off at eight times")
            << 1 << besideShin(kScene[2], 3.5) << 0.125 << std::optional<ScenePick>();
    }

    void pickInScene()
    {
        QFETCH(int, current);
        QFETCH(Point, press);
        QFETCH(double, grabScale);
        QTEST(zelbrook::pickInScene(kScene, current, press, grabScale), "picked");
    }
};

QTEST_APPLESS_MAIN(TestScenePicker)
#include "tst_scene_picker.moc"
