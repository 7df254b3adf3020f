// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"

#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"

#include <new>

namespace zelbrook {

Result<std::string> checkedAnimationFileText(const Animation &animation)
{
    std::string text = writeAnimationFile(animation);
    if (const Result<Animation> again = readAnimationFile(text, Pose::defaults(RasterCanvas::kWindowUnitWidth)); !again)
        return Error{"The animation cannot be saved: " + again.error().message + "."};
    return text;
}

Status AnimationTarget::write(const Animation &animation, const std::string &path,
                              const AnimationExporter::FrameDone &frameDone) const
{
    try {
        return writeOut(animation, path, frameDone);
    } catch (const std::bad_alloc &) {
        // The unfinished output went as the stack unwound.
        return Error{"There is not enough memory to write the animation."};
    }
}

Status AnimationTarget::writeOut(const Animation &animation, const std::string &path,
                                 const AnimationExporter::FrameDone &frameDone) const
{
    AnimationExporter exporter;
    if (kind == Kind::Animated && (format == AnimatedFormat::Mp4 || format == AnimatedFormat::Webm)) {
        if (path.empty())
            return Error{"A video cannot be written to standard output."};
        return exporter.write(animation, kProgramCaption, format, zoom, {{}, path, 0}, frameDone);
    }
    // An output that is not committed leaves nothing behind.
    Result<OutputStream> stream = path.empty() ? OutputStream::standardOutput() : OutputStream::open(path);
    if (!stream)
        return stream.error();
    const ByteSink sink = [&stream](std::string_view bytes) { return stream.value().write(bytes); };
    Status written;
    switch (kind) {
    case Kind::AnimationFile:
        if (const Result<std::string> text = checkedAnimationFileText(animation); text)
            written = sink(*text);
        else
            written = text.error();
        break;
    case Kind::Json:
        written = AnimationExporter::writeJson(animation, sink, frameDone);
        break;
    case Kind::Animated:
        written = exporter.write(animation, kProgramCaption, format, zoom, {sink, path, sheetColumns}, frameDone);
        break;
    }
    if (!written)
        return written;
    return stream.value().commit();
}

} // namespace zelbrook
