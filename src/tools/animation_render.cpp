// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/animation_render.h"

#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"

namespace zelbrook {

namespace {

// An animation file that would not read back, such as one whose scale was
// multiplied past what a file may hold, is refused rather than written.
Result<std::string> animationFileText(const Animation &animation)
{
    std::string text = writeAnimationFile(animation);
    if (const Result<Animation> again = readAnimationFile(text, Pose::defaults(RasterCanvas::kWindowUnitWidth)); !again)
        return Error{"The animation cannot be saved: " + again.error().message + "."};
    return text;
}

} // namespace

bool AnimationRender::holdsAnimation(RenderFormat format, bool inputIsAnimation)
{
    return animatedFormatOf(format) || format == RenderFormat::Zba
           || (format == RenderFormat::Json && inputIsAnimation);
}

Status AnimationRender::write(const Animation &animation, const std::string &path, AnimationExporter &exporter,
                              const AnimationExporter::FrameDone &frameDone) const
{
    const std::optional<AnimatedFormat> animated = animatedFormatOf(format);
    if (animated == AnimatedFormat::Mp4 || animated == AnimatedFormat::Webm)
        return exporter.write(animation, kProgramCaption, *animated, zoom, {{}, path, 0}, frameDone);
    // An output that is not committed leaves nothing behind.
    Result<OutputStream> stream = path.empty() ? OutputStream::standardOutput() : OutputStream::open(path);
    if (!stream)
        return stream.error();
    const ByteSink sink = [&stream](std::string_view bytes) { return stream.value().write(bytes); };
    Status written;
    if (format == RenderFormat::Zba) {
        const Result<std::string> text = animationFileText(animation);
        written = text ? sink(*text) : Status(text.error());
    } else if (format == RenderFormat::Json) {
        written = AnimationExporter::writeJson(animation, sink, frameDone);
    } else {
        written =
            exporter.write(animation, kProgramCaption, *animated, zoom, {sink, path, columns.value_or(0)}, frameDone);
    }
    if (!written)
        return written;
    return stream.value().commit();
}

} // namespace zelbrook
