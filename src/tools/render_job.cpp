#include "tools/render_job.h"

#include "model/program_info.h"
#include "platform/atomic_file.h"
#include "platform/picture_writer.h"
#include "platform/raster_canvas.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"
#include "render/draw_man.h"
#include "tools/json_writer.h"

#include <QFontMetrics>

#include <string_view>
#include <utility>

namespace zelbrook {

namespace {

QByteArray bytesOf(const std::string &text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

RenderJob::RenderJob(RenderOptions options, QIODevice &standardInput, QIODevice &standardOutput)
    : m_options(std::move(options))
    , m_standardInput(standardInput)
    , m_standardOutput(standardOutput)
{}

std::optional<QString> RenderJob::run()
{
    const std::variant<Pose, QString> readPose = pose();
    if (const QString *failure = std::get_if<QString>(&readPose))
        return *failure;
    const std::variant<QByteArray, QString> content = render(std::get<Pose>(readPose));
    if (const QString *failure = std::get_if<QString>(&content))
        return *failure;
    return write(std::get<QByteArray>(content));
}

Pose RenderJob::startPose() const
{
    Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
    pose.scale = m_options.scale;
    pose.rotation = m_options.rotation;
    return pose;
}

std::variant<Pose, QString> RenderJob::pose()
{
    if (m_options.poseSource == RenderOptions::PoseSource::Defaults)
        return startPose();
    const std::variant<QByteArray, QString> text = readPoseText();
    if (const QString *failure = std::get_if<QString>(&text))
        return poseName() + QStringLiteral(": ") + *failure;
    const QByteArray &bytes = std::get<QByteArray>(text);
    const Result<Pose> read =
        readPoseFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), startPose());
    if (!read)
        return poseName() + QStringLiteral(": ") + QString::fromStdString(read.error().message);
    return read.value();
}

std::variant<QByteArray, QString> RenderJob::readPoseText()
{
    if (m_options.poseSource == RenderOptions::PoseSource::StandardInput)
        return readStandardInput();
    return AtomicFile::read(m_options.posePath, kMaximumPoseBytes);
}

// A pipe tells its size only by ending, so the input is read up to one byte
// past the limit.
std::variant<QByteArray, QString> RenderJob::readStandardInput()
{
    QByteArray bytes;
    char chunk[4096];
    while (bytes.size() <= kMaximumPoseBytes) {
        const qint64 count = m_standardInput.read(chunk, sizeof chunk);
        if (count < 0)
            return QStringLiteral("It could not be read: %1.").arg(m_standardInput.errorString());
        if (count == 0)
            return bytes;
        bytes.append(chunk, count);
    }
    return QStringLiteral("It is larger than %1 bytes.").arg(kMaximumPoseBytes);
}

std::variant<QByteArray, QString> RenderJob::render(const Pose &pose) const
{
    switch (m_options.format) {
    case RenderOptions::Format::Bmp:
        return rasterPicture(pose, "bmp");
    case RenderOptions::Format::Png:
        return rasterPicture(pose, "png");
    case RenderOptions::Format::Svg:
        return svgDocument(pose);
    case RenderOptions::Format::Json:
        return bytesOf(JsonWriter::figure(pose, m_options.penWidth));
    case RenderOptions::Format::Zbk:
        return bytesOf(writePoseFile(pose));
    }
    Q_UNREACHABLE();
    return {};
}

// The same canvas, pen and caption as the editor's bitmap export.
std::variant<QByteArray, QString> RenderJob::rasterPicture(const Pose &pose, const char *format) const
{
    RasterCanvas canvas(m_options.zoom);
    canvas.setDrawWidth(m_options.penWidth);
    DrawMan(pose, canvas, kProgramCaption);
    const QByteArray bytes = PictureWriter::encode(canvas.Image(), format);
    if (bytes.isEmpty())
        return outputName()
               + QStringLiteral(": The picture could not be converted to %1.")
                     .arg(QString::fromLatin1(format).toUpper());
    return bytes;
}

QByteArray RenderJob::svgDocument(const Pose &pose) const
{
    SvgCanvas canvas(svgPage());
    canvas.setDrawWidth(m_options.penWidth);
    DrawMan(pose, canvas, kProgramCaption);
    return bytesOf(canvas.document());
}

SvgPage RenderJob::svgPage()
{
    const QFont font = RasterCanvas::textFont();
    return {RasterCanvas::kPixelWidth,
            RasterCanvas::kPixelHeight,
            RasterCanvas::kWindowUnitWidth,
            RasterCanvas::kWindowUnitHeight,
            font.family().toStdString(),
            static_cast<double>(font.pixelSize()),
            static_cast<double>(QFontMetrics(font).ascent())};
}

std::optional<QString> RenderJob::write(const QByteArray &bytes)
{
    if (m_options.outputTarget == RenderOptions::OutputTarget::File) {
        if (const std::optional<QString> failure = AtomicFile::write(m_options.outputPath, bytes))
            return outputName() + QStringLiteral(": ") + *failure;
        return std::nullopt;
    }
    if (m_standardOutput.write(bytes) != bytes.size())
        return outputName() + QStringLiteral(": It could not be written: %1.").arg(m_standardOutput.errorString());
    return std::nullopt;
}

QString RenderJob::poseName() const
{
    return m_options.poseSource == RenderOptions::PoseSource::StandardInput ? QStringLiteral("standard input")
                                                                            : m_options.posePath;
}

QString RenderJob::outputName() const
{
    return m_options.outputTarget == RenderOptions::OutputTarget::StandardOutput ? QStringLiteral("standard output")
                                                                                 : m_options.outputPath;
}

} // namespace zelbrook
