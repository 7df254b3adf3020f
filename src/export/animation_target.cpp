// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"

#include "export/sprite_atlas.h"
#include "export/trim_area.h"

#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "platform/system_file.h"
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

std::string atlasPath(const std::string &sheetPath)
{
    const std::size_t slash = sheetPath.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = sheetPath.rfind('.');
    const bool extended = dot != std::string::npos && dot > nameStart;
    return sheetPath.substr(0, extended ? dot : sheetPath.size()) + ".json";
}

Result<FrameStyle> AnimationTarget::frameStyle(const Animation &animation) const
{
    FrameStyle style;
    if (transparent)
        style.background = RasterCanvas::Background::Transparent;
    if (trim) {
        const Result<QRect> area = TrimArea::ofAnimation(animation, zoom);
        if (!area)
            return area.error();
        style.trim = *area;
    }
    return style;
}

Status AnimationTarget::writeAtlas(const Animation &animation, const std::string &path, const FrameStyle &style,
                                   OutputStream &stream) const
{
    const std::string sheetName = path.substr(path.rfind('/') + 1);
    const std::string stem = atlasPath(sheetName);
    const QRect canvas(0, 0, RasterCanvas::kPixelWidth * zoom, RasterCanvas::kPixelHeight * zoom);
    const QRect cell = style.trim.value_or(canvas);
    const SpriteAtlas::Sheet sheet{sheetName,      stem.substr(0, stem.size() - 5), cell.size(), canvas.size(),
                                   cell.topLeft(), style.trim.has_value(),          sheetColumns};
    if (Status written = stream.write(SpriteAtlas::json(animation, sheet)); !written)
        return written;
    return stream.commit();
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
    const Result<FrameStyle> style = frameStyle(animation);
    if (!style)
        return style.error();
    const bool withAtlas = atlas && kind == Kind::Animated && format == AnimatedFormat::Sheet;
    if (withAtlas && (path.empty() || atlasPath(path) == path))
        return Error{path.empty() ? "An atlas cannot be written beside standard output."
                                  : "The atlas would take the sheet's own name."};
    std::optional<Result<OutputStream>> atlasStream;
    if (withAtlas) {
        atlasStream.emplace(OutputStream::open(atlasPath(path)));
        if (!*atlasStream)
            return Error{"The atlas " + SystemFile::printableName(atlasPath(path)) + ": "
                         + atlasStream->error().message};
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
        written =
            exporter.write(animation, kProgramCaption, format, zoom, {sink, path, sheetColumns}, frameDone, *style);
        break;
    }
    if (written)
        written = stream.value().commit();
    if (written && atlasStream)
        written = writeAtlas(animation, path, *style, atlasStream->value());
    return written;
}

} // namespace zelbrook
