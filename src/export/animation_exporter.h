// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/exporter.h"
#include "export/frame_style.h"
#include "model/animation.h"
#include "model/result.h"

#include <QColor>

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

namespace zelbrook {

// Turns an animation into an animated picture or into motion data. Frames
// are worked out, drawn and handed to the encoder one after another, and no
// frame is kept here. GIF, APNG, video and motion data go out a frame at a
// time, so their memory stays flat however many frames there are; a WebP
// grows with the frames, as the library keeps them until it puts the file
// together at the end, and a sprite sheet holds one row of cells. Every
// frame is the very picture that Exporter gives for the scene the frame
// shows, in the style given.
class AnimationExporter
{
public:
    // Told after each frame how many are done; returning false stops the
    // export, which then fails and leaves nothing behind.
    using FrameDone = std::function<bool(std::size_t framesDone)>;

    Status write(const Animation &animation, std::string_view caption, AnimatedFormat format, int zoom,
                 AnimationOutput output, const FrameDone &frameDone = {}, const FrameStyle &style = {});

    // {"fps", "loop", "frames": [...]}, written to the sink a frame at a
    // time. With a cast of one figure each frame is the object that the JSON
    // export gives for one figure; with more, {"figures": [...]} of the
    // figures the frame shows, each with its id, name and colour.
    static Status writeJson(const Animation &animation, const ByteSink &sink, const FrameDone &frameDone = {});

    // The timing of the animation's frames.
    static AnimationTiming timingOf(const Animation &animation);
    // The colours an encoder must keep exact: the cast's, black and white,
    // each once, in that order.
    static std::vector<QRgb> exactColours(const Animation &animation);
    // Why an export was stopped.
    static constexpr std::string_view kStopped = "The export was stopped.";

private:
    Exporter m_exporter;
};

} // namespace zelbrook
