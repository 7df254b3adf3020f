// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/workspace/document_signals.h"
#include "ui/workspace/timeline_view.h"

#include <QImage>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <vector>

using namespace zelbrook;

// The timeline 1,920 pixels wide painted over 10 or 1,000 keys of 16
// frames, scrolled half way. At 12 pixels a frame ten blocks fill the width
// either way, so what shows is the same and so should the cost be. The
// pictures are drawn once before the rounds, as they stay until a key
// changes.
void BM_TimelinePaint(benchmark::State &state)
{
    const auto keys = static_cast<std::size_t>(state.range(0));
    AnimationDocument document;
    const Key key{Figure{Pose::defaults(455.58333f)}, 8, 8};
    document.replaceAnimation(Animation(Playback{}, std::vector<Key>(keys, key)));
    DocumentSignals changes(document);
    TimelineView view(changes);
    view.resize(1920, 160);
    view.show();
    QScrollBar *scroll = view.horizontalScrollBar();
    scroll->setValue(scroll->maximum() / 2);
    QImage target(view.size(), QImage::Format_RGB32);
    view.render(&target);
    for (auto _ : state) {
        view.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_TimelinePaint)->Arg(10)->Arg(1000);
