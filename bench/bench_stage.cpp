// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/program_info.h"
#include "render/draw_scene.h"
#include "ui/workspace/stage.h"

#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

namespace zelbrook {
namespace {

// The workspace's stage at the given zoom (0 for Fit) in a view of 900 x 700,
// painting the start-up figure into an image as the screen would.
struct BenchStage {
    AnimationDocument document;
    Stage stage{document};
    QImage screen{900, 700, QImage::Format_ARGB32_Premultiplied};

    explicit BenchStage(double zoom)
    {
        document.setFigure(Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)}, ChangeKind::Reset);
        stage.setDrawer([this](Canvas &canvas) { drawScene(document.scene(), {}, canvas, kProgramCaption); });
        stage.resize(900, 700);
        stage.show();
        for (; zoom > 0 && stage.zoom() < zoom;)
            stage.zoomIn();
        paint();
    }

    void paint() { stage.viewport()->render(&screen); }
};

// The drawing half of showing another frame: the picture drawn again for the
// stage's zoom and painted, here at Fit (about 180%, drawn at 2 and reduced)
// and at 400%.
void BM_StageRedraw(benchmark::State &state)
{
    BenchStage shown(state.range(0) / 100.0);
    for (auto _ : state) {
        shown.stage.pictureChanged();
        shown.paint();
    }
}
BENCHMARK(BM_StageRedraw)->Arg(0)->Arg(400);

// A scroll at 400%, which paints the kept picture and draws nothing.
void BM_StageScroll(benchmark::State &state)
{
    BenchStage shown(4.0);
    QScrollBar *bar = shown.stage.horizontalScrollBar();
    for (auto _ : state) {
        bar->setValue(bar->value() == 100 ? 140 : 100);
        shown.paint();
    }
}
BENCHMARK(BM_StageScroll);

} // namespace
} // namespace zelbrook
