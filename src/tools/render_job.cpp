#include "tools/render_job.h"

#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/raster_canvas.h"
#include "platform/system_file.h"
#include "posefile/pose_reader.h"
#include "tools/render_files.h"

#include <utility>

namespace zelbrook {

RenderJob::RenderJob(RenderOptions options, QIODevice &standardInput)
    : m_options(std::move(options))
    , m_standardInput(standardInput)
{}

Status RenderJob::run()
{
    const Result<Pose> pose = readPose();
    if (!pose)
        return pose.error();
    const Result<QByteArray> content = render(*pose);
    if (!content)
        return content.error();
    return write(*content);
}

Pose RenderJob::startPose(const RenderOptions &options)
{
    Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
    pose.scale = options.scale;
    pose.rotation = options.rotation;
    return pose;
}

Result<Pose> RenderJob::poseFromText(std::string_view text, const RenderOptions &options)
{
    return readPoseFile(text, startPose(options));
}

Figure RenderJob::figureOf(const Pose &pose, const RenderOptions &options) { return {pose, options.penWidth}; }

Result<QByteArray> RenderJob::encode(Exporter &exporter, const Pose &pose, const RenderOptions &options)
{
    if (options.size)
        return exporter.encodeFitted(figureOf(pose, options), kProgramCaption, options.format, *options.size);
    return exporter.encode(figureOf(pose, options), kProgramCaption, options.format, options.zoom);
}

int RenderJob::drawingZoom(const RenderOptions &options)
{
    return options.size ? Exporter::fittingZoom(*options.size) : options.zoom;
}

Result<Pose> RenderJob::readPose()
{
    if (m_options.poseSource == RenderOptions::PoseSource::Defaults)
        return startPose(m_options);
    const Result<std::string> text = readPoseText();
    if (!text)
        return Error{poseName() + ": " + text.error().message};
    const Result<Pose> pose = poseFromText(*text, m_options);
    if (!pose)
        return Error{poseName() + ": " + pose.error().message};
    return pose;
}

Result<std::string> RenderJob::readPoseText()
{
    if (m_options.poseSource == RenderOptions::PoseSource::StandardInput)
        return RenderFiles::readStream(m_standardInput, SystemFile::kLargestPoseFile);
    return SystemFile::readPoseBytes(m_options.posePath);
}

Result<QByteArray> RenderJob::render(const Pose &pose)
{
    Result<QByteArray> bytes = encode(m_exporter, pose, m_options);
    if (!bytes)
        return Error{outputName() + ": " + bytes.error().message};
    return bytes;
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
    return m_options.poseSource == RenderOptions::PoseSource::StandardInput
               ? "standard input"
               : SystemFile::printableName(m_options.posePath);
}

std::string RenderJob::outputName() const
{
    return m_options.outputTarget == RenderOptions::OutputTarget::StandardOutput
               ? "standard output"
               : SystemFile::printableName(m_options.outputPath);
}

} // namespace zelbrook
