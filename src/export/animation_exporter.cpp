// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_exporter.h"

#include "export/json_writer.h"

#include <string>

namespace zelbrook {

namespace {

Status stopped() { return Error{std::string(AnimationExporter::kStopped)}; }

bool goOn(const AnimationExporter::FrameDone &frameDone, std::size_t done) { return !frameDone || frameDone(done); }

} // namespace

AnimationTiming AnimationExporter::timingOf(const Animation &animation)
{
    return {animation.playback().fps, animation.playback().loop, animation.frameCount()};
}

Status AnimationExporter::write(const Animation &animation, std::string_view caption, AnimatedFormat format, int zoom,
                                AnimationOutput output, const FrameDone &frameDone)
{
    const std::unique_ptr<AnimationEncoder> encoder =
        makeAnimationEncoder(format, timingOf(animation), std::move(output));
    const std::vector<FrameRef> frames = animation.frames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (Status added = encoder->addFrame(m_exporter.picture(animation.figureAt(frames[i]), caption, zoom)); !added)
            return added;
        if (!goOn(frameDone, i + 1))
            return stopped();
    }
    return encoder->finish();
}

Status AnimationExporter::writeJson(const Animation &animation, const ByteSink &sink, const FrameDone &frameDone)
{
    const Playback &playback = animation.playback();
    std::string text = "{\n  \"fps\": " + std::to_string(playback.fps)
                       + ",\n  \"loop\": " + (playback.loop ? "true" : "false") + ",\n  \"frames\": [\n";
    const std::vector<FrameRef> frames = animation.frames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Figure figure = animation.figureAt(frames[i]);
        std::string frame = JsonWriter::figure(figure.pose, figure.penWidth);
        frame.pop_back(); // its line end; the separator follows
        text += i == 0 ? frame : ",\n" + frame;
        if (Status written = sink(text); !written)
            return written;
        text.clear();
        if (!goOn(frameDone, i + 1))
            return stopped();
    }
    return sink("\n  ]\n}\n");
}

} // namespace zelbrook
