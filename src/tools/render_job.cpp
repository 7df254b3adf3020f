// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_job.h"

#include "export/trim_area.h"
#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"
#include "tools/animation_render.h"
#include "tools/atlas_clash.h"
#include "tools/render_files.h"

#include <new>
#include <utility>

namespace zelbrook {

RenderJob::RenderJob(RenderOptions options, QIODevice &standardInput)
    : m_options(std::move(options))
    , m_standardInput(standardInput)
{}

Status RenderJob::run()
{
    try {
        return render();
    } catch (const std::bad_alloc &) {
        return Error{poseName() + ": There is not enough memory to render it."};
    }
}

Status RenderJob::render()
{
    const Result<RenderInput> input = readInput();
    if (!input)
        return input.error();
    if (!AnimationRender::holdsAnimation(m_options, input->isAnimation()))
        return writeScene(*input);
    if (atlasTakesInput())
        return Error{outputName() + ": The atlas would take the input's name."};
    const AnimationRender render = AnimationRender::of(m_options);
    const bool toFile = m_options.outputTarget == RenderOptions::OutputTarget::File;
    if (Status written = render.write(input->animation(m_options), toFile ? m_options.outputPath : ""); !written)
        return Error{outputName() + ": " + written.error().message};
    return {};
}

bool RenderJob::atlasTakesInput() const
{
    if (!m_options.atlas || m_options.poseSource != RenderOptions::PoseSource::File
        || m_options.outputTarget != RenderOptions::OutputTarget::File)
        return false;
    return AtlasClash::find(
               1, [this](std::size_t) { return m_options.posePath; },
               [this](std::size_t) { return atlasPath(m_options.outputPath); })
        .has_value();
}

Status RenderJob::writeScene(const RenderInput &input)
{
    const Result<std::vector<SceneFigure>> scene = input.scene(m_options);
    if (!scene)
        return Error{poseName() + ": " + scene.error().message};
    if (const std::optional<std::string> refusal = input.refusal(m_options)) {
        m_failedOnCommandLine = true;
        return Error{poseName() + ": " + *refusal};
    }
    const Result<QByteArray> bytes = encode(m_exporter, *scene, m_options);
    if (!bytes)
        return Error{outputName() + ": " + bytes.error().message};
    return write(*bytes);
}

Result<QByteArray> RenderJob::encode(Exporter &exporter, std::span<const SceneFigure> scene,
                                     const RenderOptions &options, std::optional<QRect> trimArea)
{
    const ExportFormat format = *stillFormatOf(options.format);
    if (options.size)
        return exporter.encodeFitted(scene, kProgramCaption, format, *options.size);
    FrameStyle style;
    if (options.transparent)
        style.background = RasterCanvas::Background::Transparent;
    if (options.trim && trimArea) {
        style.trim = *trimArea;
    } else if (options.trim) {
        // One picture is cut to its own figures; an SVG's area is in pixels at zoom 1.
        const int zoom = format == ExportFormat::Svg ? 1 : options.zoom;
        const Result<QRect> area = TrimArea::ofScene(scene, zoom);
        if (!area)
            return area.error();
        style.trim = *area;
    }
    return exporter.encode(scene, kProgramCaption, format, options.zoom, style);
}

int RenderJob::drawingZoom(const RenderOptions &options)
{
    return options.size ? Exporter::fittingZoom(*options.size) : options.zoom;
}

Result<RenderInput> RenderJob::readInput()
{
    if (m_options.poseSource == RenderOptions::PoseSource::Defaults)
        return RenderInput::startPose(m_options);
    const Result<std::string> text = readInputText();
    if (!text)
        return Error{poseName() + ": " + text.error().message};
    Result<RenderInput> input = RenderInput::fromText(*text, m_options);
    if (!input)
        return Error{poseName() + ": " + input.error().message};
    return input;
}

// An animation file may be larger than a pose file may.
Result<std::string> RenderJob::readInputText()
{
    if (m_options.poseSource != RenderOptions::PoseSource::StandardInput)
        return readInputFile(m_options.posePath);
    Result<std::string> text = RenderFiles::readStream(m_standardInput, kMaximumAnimationFileSize);
    if (text && text->size() > SystemFile::kLargestPoseFile && !isAnimationText(*text))
        return Error{"It is larger than " + std::to_string(SystemFile::kLargestPoseFile) + " bytes."};
    return text;
}

Result<std::string> RenderJob::readInputFile(const std::string &path)
{
    Result<std::string> text = SystemFile::read(path, kMaximumAnimationFileSize);
    if (text && text->size() > SystemFile::kLargestPoseFile && !isAnimationText(*text))
        return SystemFile::readPoseBytes(path); // refused as any pose file that large is
    return text;
}

Status RenderJob::write(const QByteArray &bytes)
{
    const bool toFile = m_options.outputTarget == RenderOptions::OutputTarget::File;
    Result<OutputStream> stream = toFile ? OutputStream::open(m_options.outputPath) : OutputStream::standardOutput();
    if (!stream)
        return Error{outputName() + ": " + stream.error().message};
    Status written = stream.value().write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (written)
        written = stream.value().commit();
    if (!written)
        return Error{outputName() + ": " + written.error().message};
    return {};
}

std::string RenderJob::poseName() const
{
    switch (m_options.poseSource) {
    case RenderOptions::PoseSource::StandardInput:
        return "standard input";
    case RenderOptions::PoseSource::Defaults:
        return std::string(kStartPoseName);
    default:
        return SystemFile::printableName(m_options.posePath);
    }
}

std::string RenderJob::outputName() const
{
    return m_options.outputTarget == RenderOptions::OutputTarget::StandardOutput
               ? "standard output"
               : SystemFile::printableName(m_options.outputPath);
}

} // namespace zelbrook
