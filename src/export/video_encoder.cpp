// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/video_encoder.h"

#include "platform/child_process.h"
#include "platform/output_stream.h"
#include "platform/system_file.h"

#include <QString>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

namespace {

constexpr std::chrono::milliseconds kPatience{30000};

// The codec's part of the command line. H.264 in the common yuv420p form
// needs even sizes, so the picture is padded white at the right and bottom;
// VP9 takes odd sizes as they are.
std::vector<std::string> codecArguments(AnimatedFormat format)
{
    if (format == AnimatedFormat::Mp4)
        return {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2:0:0:white", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-f",
                "mp4"};
    return {"-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-row-mt", "1", "-f", "webm"};
}

// ffmpeg reads an output name as a URL ("pipe:1", "http:…") or an option
// ("-x"); an absolute name after "file:" is only ever that file, whatever
// its bytes.
std::string outputUrl(const std::string &name)
{
    if (name.starts_with('/'))
        return "file:" + name;
    std::string folder(PATH_MAX, '\0');
    if (!::getcwd(folder.data(), folder.size()))
        return "file:" + name;
    folder.resize(folder.find('\0'));
    return "file:" + folder + (folder.ends_with('/') ? "" : "/") + name;
}

// Why the program did not start, in the words a user looks for: whether it
// is there at all, and else what the system said, with the formats that
// need no other program.
std::string notStarted(const std::string &program, int systemError)
{
    const bool named = program.find('/') != std::string::npos;
    const std::string where = named ? " at " + SystemFile::printableName(program) : " on the PATH";
    const std::string what =
        systemError == ENOENT ? "The program ffmpeg, which makes mp4 and webm videos, was not found" + where
                              : "The program ffmpeg" + where + " could not be run: " + SystemFile::reason(systemError);
    return what + ". The formats gif, apng, webp and sheet need no other program.";
}

// The last line with any text in what ffmpeg wrote to its error output,
// with control characters escaped so that it cannot act on the terminal.
std::string lastLine(std::string_view output)
{
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r' || output.back() == ' '))
        output.remove_suffix(1);
    output = output.substr(output.find_last_of("\r\n") == std::string_view::npos ? 0 : output.find_last_of("\r\n") + 1);
    return SystemFile::printableName(output);
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

std::chrono::milliseconds VideoEncoder::patience()
{
    const char *given = std::getenv("ZELBROOK_FFMPEG_PATIENCE_MS");
    char *end = nullptr;
    const long milliseconds = given ? std::strtol(given, &end, 10) : 0;
    return given && *end == '\0' && milliseconds > 0 ? std::chrono::milliseconds(milliseconds) : kPatience;
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
    const ChildProcess::Outcome outcome = m_process->finish();
    if (outcome == ChildProcess::Outcome::Silent)
        return failure("ffmpeg stopped responding");
    if (!m_process->succeeded())
        return failure("ffmpeg failed");
    return finished();
}

// ffmpeg said it succeeded; the video counts only if it is there.
Status VideoEncoder::finished()
{
    struct stat written {};
    if (::stat(m_file->name().c_str(), &written) != 0 || written.st_size == 0)
        return failure("ffmpeg wrote no video");
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
    std::vector<std::string> arguments{"-nostdin",  "-hide_banner",
                                       "-loglevel", "error",
                                       "-f",        "rawvideo",
                                       "-pix_fmt",  "rgb24",
                                       "-s",        std::to_string(size.width()) + "x" + std::to_string(size.height()),
                                       "-r",        std::to_string(m_timing.fps),
                                       "-i",        "pipe:0"};
    for (std::string &argument : codecArguments(m_format))
        arguments.push_back(std::move(argument));
    arguments.push_back("-y");
    arguments.push_back(outputUrl(m_file->name()));
    int systemError = 0;
    m_process = ChildProcess::start(m_program, arguments, systemError);
    if (!m_process) {
        stop();
        return Error{notStarted(m_program, systemError)};
    }
    m_process->setPatience(patience());
    m_process->watchFile(m_file->name());
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
    switch (m_process->write({m_pixels.data(), m_pixels.size()})) {
    case ChildProcess::Outcome::Done:
        return {};
    case ChildProcess::Outcome::Silent:
        return failure("ffmpeg stopped responding");
    case ChildProcess::Outcome::InputClosed:
        // ffmpeg stopped reading: its end and its last words say why.
        return failure(m_process->finish() == ChildProcess::Outcome::Silent ? "ffmpeg stopped responding"
                                                                            : "ffmpeg failed");
    }
    return {};
}

// The error names what failed and what ffmpeg said last, and leaves neither
// a file nor ffmpeg behind.
Status VideoEncoder::failure(const std::string &what)
{
    std::string message = what;
    if (m_process) {
        m_process->end();
        if (const std::string said = lastLine(m_process->errorTail()); !said.empty())
            message += ": " + said;
    }
    stop();
    return Error{message + "."};
}

void VideoEncoder::stop()
{
    m_process.reset();
    m_file.reset();
}

} // namespace zelbrook
