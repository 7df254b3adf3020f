#include "recording_canvas.h"
#include "render/draw_figure.h"
#include "render/draw_scene.h"

#include <QTest>

using namespace zelbrook;
using Op = RecordingCanvas::Op;

class TestDrawScene : public QObject
{
    Q_OBJECT

private slots:
    // One clear, then 9 segments and 362 dots per ghost all in its colour,
    // then the figure exactly as drawFigure draws it after its clear.
    void ghostsComeUnderTheFigure_data()
    {
        QTest::addColumn<QList<Color>>("colors");
        QTest::newRow("no ghost") << QList<Color>{};
        QTest::newRow("previous key") << QList<Color>{0xFF8080};
        QTest::newRow("both keys") << QList<Color>{0xFF8080, 0x8080FF};
    }

    void ghostsComeUnderTheFigure()
    {
        QFETCH(QList<Color>, colors);
        const Figure figure{Pose::defaults(test::kCanvasWidth)};
        Figure ghostFigure = figure;
        ghostFigure.pose.bodyAngle = 0.5;
        std::vector<Ghost> ghosts;
        for (Color color : colors)
            ghosts.push_back({&ghostFigure, color});
        RecordingCanvas scene, alone;
        drawScene(figure, ghosts, scene, "Zelbrook");
        drawFigure(figure.pose, alone, "Zelbrook");

        QCOMPARE(scene.count(Op::Cls), 1);
        QCOMPARE(scene.calls.size(), alone.calls.size() + std::size_t(colors.size()) * (9 + 362));
        for (qsizetype g = 0; g < colors.size(); ++g) {
            for (std::size_t i = 1; i <= 9 + 362; ++i) {
                const auto &call = scene.calls[std::size_t(g) * (9 + 362) + i];
                QCOMPARE(call.op, i <= 9 ? Op::Line : Op::PSet);
                QCOMPARE(call.color, std::optional(colors[g]));
            }
        }
        const std::size_t figureStart = scene.calls.size() - alone.calls.size() + 1;
        for (std::size_t i = 1; i < alone.calls.size(); ++i) {
            const auto &mine = scene.calls[figureStart + i - 1];
            QCOMPARE(mine.op, alone.calls[i].op);
            QCOMPARE(mine.a, alone.calls[i].a);
            QCOMPARE(mine.color, alone.calls[i].color);
            QCOMPARE(mine.text, alone.calls[i].text);
        }
    }
};

QTEST_APPLESS_MAIN(TestDrawScene)
#include "tst_draw_scene.moc"
