// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_encoder.h"

#include "platform/output_stream.h"

#include "platform/broken_pipe_guard.h"

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

namespace {

constexpr const char *kWithoutFfmpeg = " The formats gif, apng, webp and sheet need no other program.";

QString text(const std::string &bytes) { return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size())); }

// The codec's part of the command line. H.264 in the common yuv420p form
// needs even sizes, so the picture is padded white at the right and bottom;
// VP9 takes odd sizes as they are.
QStringList codecArguments(AnimatedFormat format)
{
    if (format == AnimatedFormat::Mp4)
        return {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2:0:0:white", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-f",
                "mp4"};
    return {"-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-row-mt", "1", "-f", "webm"};
}

// Why the program did not start, in the words a user looks for: whether it
// is there at all, and else what the system said without the name of the
// call that said it.
std::string notStarted(const std::string &program, const QProcess &process)
{
    const bool named = program.find('/') != std::string::npos;
    const std::string where = named ? " at " + program : " on the PATH";
    if (named ? ::access(program.c_str(), F_OK) != 0 : QStandardPaths::findExecutable(text(program)).isEmpty())
        return "The program ffmpeg, which makes mp4 and webm videos, was not found" + where;
    QString reason = process.errorString();
    reason = reason.mid(reason.lastIndexOf(QLatin1String(": ")) + 1).trimmed();
    if (!reason.isEmpty())
        reason[0] = reason[0].toLower();
    return "The program ffmpeg" + where + " could not be run: " + reason.toStdString();
}

// The last line with any text in what ffmpeg wrote to its error output.
std::string lastLine(const QByteArray &output)
{
    const QList<QByteArray> lines = output.trimmed().split('\n');
    return lines.isEmpty() ? std::string() : lines.last().trimmed().toStdString();
}

} // namespace

VideoEncoder::VideoEncoder(AnimatedFormat format, AnimationTiming timing, std::string targetPath, std::string program)
    : m_format(format)
    , m_timing(timing)
    , m_target(std::move(targetPath))
    , m_program(std::move(program))
{}

VideoEncoder::~VideoEncoder() { stop(); }

std::string VideoEncoder::ffmpegProgram()
{
    const char *named = std::getenv("ZELBROOK_FFMPEG");
    return named && *named ? named : "ffmpeg";
}

Status VideoEncoder::encodeFrame(const QImage &input)
{
    const Result<QImage> frame = checkedFrame(input, m_size, m_timing);
    if (!frame)
        return frame.error();
    if (!m_process)
        if (Status started = start(frame->size()); !started)
            return started;
    return send(*frame);
}

Status VideoEncoder::complete()
{
    if (!m_process)
        return checkHasFrames(0);
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(-1) || m_process->exitStatus() != QProcess::NormalExit
        || m_process->exitCode() != 0)
        return failure("ffmpeg failed");
    m_process.reset();
    // ffmpeg wrote the new file through a name of its own; flushing it
    // through ours makes it last before it replaces the target.
    Status flushed = m_file->write({});
    if (flushed)
        flushed = m_file->commit();
    m_file.reset();
    return flushed;
}

Status VideoEncoder::start(QSize size)
{
    Result<ReplacementFile> file = OutputStream::replacementFile(m_target);
    if (!file)
        return file.error();
    m_file.emplace(std::move(file).value());
    m_size = size;
    m_pixels.resize(3 * static_cast<std::size_t>(size.width()) * static_cast<std::size_t>(size.height()));
    QStringList arguments{"-hide_banner",
                          "-loglevel",
                          "error",
                          "-f",
                          "rawvideo",
                          "-pix_fmt",
                          "rgb24",
                          "-s",
                          QString("%1x%2").arg(size.width()).arg(size.height()),
                          "-r",
                          QString::number(m_timing.fps),
                          "-i",
                          "-"};
    arguments << codecArguments(m_format) << "-y" << text(m_file->name());
    m_process = std::make_unique<QProcess>();
    m_process->setStandardOutputFile(QProcess::nullDevice());
    m_process->start(text(m_program), arguments);
    if (!m_process->waitForStarted(-1))
        return failure(notStarted(m_program, *m_process));
    return {};
}

// Three bytes a pixel, red, green and blue, whether the frame has colour or
// not: a grey video made this way looks as it did when fed grey levels.
Status VideoEncoder::send(const QImage &frame)
{
    char *out = m_pixels.data();
    for (int y = 0; y < frame.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            *out++ = static_cast<char>(qRed(row[x]));
            *out++ = static_cast<char>(qGreen(row[x]));
            *out++ = static_cast<char>(qBlue(row[x]));
        }
    }
    const BrokenPipeGuard guard;
    m_process->write(m_pixels.data(), static_cast<qint64>(m_pixels.size()));
    while (m_process->bytesToWrite() > 0)
        if (!m_process->waitForBytesWritten(-1))
            return failure("ffmpeg failed");
    return {};
}

// The error names what failed and what ffmpeg said last, and leaves no file
// behind.
Status VideoEncoder::failure(const std::string &what)
{
    std::string message = what;
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->closeWriteChannel();
        m_process->waitForFinished(-1);
    }
    const std::string said = m_process ? lastLine(m_process->readAllStandardError()) : std::string();
    if (!said.empty())
        message += ": " + said;
    stop();
    return Error{message + "." + kWithoutFfmpeg};
}

void VideoEncoder::stop()
{
    if (m_process && m_process->state() != QProcess::NotRunning) {
        m_process->kill();
        m_process->waitForFinished(-1);
    }
    m_process.reset();
    m_file.reset();
}

} // namespace zelbrook
