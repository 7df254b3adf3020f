// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_exporter.h"

#include "export/json_writer.h"
#include "export/sprite_sheet_encoder.h"

#include <algorithm>
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

std::vector<QRgb> AnimationExporter::exactColours(const Animation &animation)
{
    std::vector<QRgb> colours;
    const auto add = [&colours](Color color) {
        const QRgb rgb = qRgb(qRed(color), qGreen(color), qBlue(color));
        if (std::find(colours.begin(), colours.end(), rgb) == colours.end())
            colours.push_back(rgb);
    };
    for (const CastFigure &figure : animation.cast())
        add(figure.color);
    add(kBlack);
    add(kWhite);
    return colours;
}

Status AnimationExporter::write(const Animation &animation, std::string_view caption, AnimatedFormat format, int zoom,
                                AnimationOutput output, const FrameDone &frameDone, const FrameStyle &style)
{
    // The figures' colours stay exact whatever the encoder must reduce, and
    // the palette of an APNG or a sheet holds a colour that first shows
    // after frame one.
    const std::unique_ptr<AnimationEncoder> encoder =
        makeAnimationEncoder(format, timingOf(animation), std::move(output), {exactColours(animation)});
    if (!encoder)
        return Error{"Lottie is written from the keys, not from pictures of the frames."};
    const std::vector<FrameRef> frames = animation.frames();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::vector<SceneFigure> scene = animation.sceneAt(frames[i]);
        if (Status added = encoder->addFrame(m_exporter.picture(scene, caption, zoom, style)); !added)
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
    const bool oneFigure = animation.cast().size() == 1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::vector<SceneFigure> scene = animation.sceneAt(frames[i]);
        std::string frame =
            oneFigure && scene.size() == 1 ? JsonWriter::figure(scene.front().figure) : JsonWriter::scene(scene);
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
