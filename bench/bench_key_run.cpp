// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"
#include "model/side_swap.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace zelbrook;

namespace {

Figure startFigure() { return Figure{Pose::defaults(455.58333f)}; }

} // namespace

// Swapping the sides of the start-up figure.
void BM_SwapSides(benchmark::State &state)
{
    Figure figure = startFigure();
    for (auto _ : state) {
        figure = swapSides(figure);
        benchmark::DoNotOptimize(figure);
    }
}
BENCHMARK(BM_SwapSides);

// Pasting 100 keys, read from the clipboard already, after the middle key
// of a 1,000-key animation, and undoing it, so the animation keeps its size.
void BM_PasteKeys(benchmark::State &state)
{
    AnimationDocument document;
    document.replaceAnimation(Animation(Playback{}, std::vector<Key>(1000, Key{startFigure(), 2, 3})));
    document.setCurrentKey(500);
    const Animation pasted(Playback{}, std::vector<Key>(100, Key{startFigure(), 1, 4}));
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.pasteKeys(pasted, FigureMatch::ByName, KeyOrder::AsTheyCame));
        benchmark::DoNotOptimize(document.undo());
    }
}
BENCHMARK(BM_PasteKeys);
