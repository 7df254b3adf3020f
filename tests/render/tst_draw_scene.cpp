// SPDX-License-Identifier: GPL-3.0-or-later
#include "recording_canvas.h"
#include "render/draw_figure.h"
#include "render/draw_scene.h"

#include <QTest>

using namespace zelbrook;

class TestDrawScene : public QObject
{
    Q_OBJECT

private slots:
    // One clear, then 9 segments and 362 dots per ghost all in its colour
    // and with its key's pen, then the figure exactly as drawFigure draws it
    // after its clear, with its own pen.
    void ghostsComeUnderTheFigure_data()
    {
        QTest::addColumn<QList<Color>>("colors");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("ghostPen");
        QTest::newRow("no ghost") << QList<Color>{} << 2 << 2;
        QTest::newRow("both keys") << QList<Color>{0xFF8080, 0x8080FF} << 2 << 2;
        QTest::newRow("ghosts with a thinner pen") << QList<Color>{0xFF8080, 0x8080FF} << 5 << 1;
        QTest::newRow("ghost with a thicker pen") << QList<Color>{0x8080FF} << 1 << 7;
    }

    void ghostsComeUnderTheFigure()
    {
        QFETCH(QList<Color>, colors);
        QFETCH(int, pen);
        QFETCH(int, ghostPen);
        const Figure figure{Pose::defaults(test::kCanvasWidth), pen};
        Figure ghostFigure{figure.pose, ghostPen};
        ghostFigure.pose.bodyAngle = 0.5;
        std::vector<Ghost> ghosts;
        for (Color color : colors)
            ghosts.push_back({&ghostFigure, color});
        RecordingCanvas scene, alone;
        drawScene(figure, ghosts, scene, "Zelbrook");
        drawFigure(figure.pose, alone, "Zelbrook");
        QCOMPARE(scene.count(RecordingCanvas::Op::Cls), 1);
        const std::size_t ghostCalls = std::size_t(colors.size()) * (9 + 362);
        QCOMPARE(scene.calls.size(), alone.calls.size() + ghostCalls);
        for (std::size_t i = 1; i <= ghostCalls; ++i) {
            QCOMPARE(scene.calls[i].color, std::optional(colors[qsizetype((i - 1) / (9 + 362))]));
            QCOMPARE(scene.calls[i].penWidth, ghostPen);
        }
        for (std::size_t i = 1; i < alone.calls.size(); ++i) {
            const auto &mine = scene.calls[ghostCalls + i];
            QVERIFY(mine.op == alone.calls[i].op && mine.a == alone.calls[i].a && mine.color == alone.calls[i].color);
            QCOMPARE(mine.penWidth, pen);
        }
    }
};

QTEST_APPLESS_MAIN(TestDrawScene)
#include "tst_draw_scene.moc"
