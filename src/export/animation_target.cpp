// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"

#include "export/lottie_writer.h"
#include "export/sprite_atlas.h"
#include "export/trim_area.h"

#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"

#include <new>
#include <vector>

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

std::string outputName(const std::string &path)
{
    std::string name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    if (name.size() > 7 && name.ends_with(".lottie"))
        name.resize(name.size() - 7);
    return name;
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

AnimationOutput AnimationTarget::output(ByteSink sink, const std::string &path) const
{
    return {std::move(sink), path, sheetColumns, sheetPadding, sheetExtrude};
}

SpriteAtlas::Sheet AnimationTarget::atlasSheet(const std::string &path, const FrameStyle &style,
                                               std::string pngStart) const
{
    const std::string sheetName = path.substr(path.rfind('/') + 1);
    const QRect canvas(0, 0, RasterCanvas::kPixelWidth * zoom, RasterCanvas::kPixelHeight * zoom);
    const QRect cell = style.trim.value_or(canvas);
    return {sheetName,
            outputName(path),
            cell.size(),
            canvas.size(),
            cell.topLeft(),
            style.trim.has_value(),
            {sheetColumns, sheetPadding, sheetExtrude},
            std::move(pngStart)};
}

// The sheet and its atlas are written in full before either takes its
// place, and then both take it at once, so that a reader never finds a new
// sheet beside an old atlas.
Status AnimationTarget::writeSheetAndAtlas(const Animation &animation, const std::string &path, const FrameStyle &style,
                                           const AnimationExporter::FrameDone &frameDone) const
{
    if (path.empty())
        return Error{"An atlas cannot be written beside standard output."};
    const std::string atlas = atlasPath(path);
    if (atlas == path)
        return Error{"The atlas would take the sheet's own name."};
    const auto atlasError = [&atlas](const Error &error) {
        return Error{"The atlas " + SystemFile::printableName(atlas) + ": " + error.message};
    };
    std::vector<ReplacementFile> files;
    files.reserve(2);
    for (const std::string &name : {path, atlas}) {
        Result<ReplacementFile> file = OutputStream::replacementFile(name);
        if (!file)
            return files.empty() ? file.error() : atlasError(file.error());
        files.push_back(std::move(file).value());
    }
    // The atlas names the type of the PNG's pixels, which its header gives.
    std::string pngStart;
    const ByteSink sink = [&sheet = files[0], &pngStart](std::string_view bytes) {
        if (pngStart.size() < 32)
            pngStart.append(bytes.substr(0, 32 - pngStart.size()));
        return sheet.write(bytes);
    };
    AnimationExporter exporter;
    if (Status written = exporter.write(animation, kProgramCaption, format, zoom, output(sink, path), frameDone, style);
        !written)
        return written;
    if (Status written = files[1].write(SpriteAtlas::json(animation, atlasSheet(path, style, pngStart))); !written)
        return atlasError(written.error());
    if (const std::optional<ReplacementFile::Failure> failure = ReplacementFile::commitAll(files))
        return failure->file == 0 ? failure->error : atlasError(failure->error);
    return {};
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
        return exporter.write(animation, kProgramCaption, format, zoom, output({}, path), frameDone);
    }
    const Result<FrameStyle> style = frameStyle(animation);
    if (!style)
        return style.error();
    if (atlas && kind == Kind::Animated && format == AnimatedFormat::Sheet)
        return writeSheetAndAtlas(animation, path, *style, frameDone);
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
        if (format == AnimatedFormat::Lottie)
            written = sink(LottieWriter::json(animation, kProgramCaption, zoom, *style, outputName(path)));
        else
            written = exporter.write(animation, kProgramCaption, format, zoom, output(sink, path), frameDone, *style);
        break;
    }
    if (written)
        written = stream.value().commit();
    return written;
}

} // namespace zelbrook
