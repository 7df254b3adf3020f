// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "platform/replacement_file.h"

#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace zelbrook {

class ChildProcess;

// A video made by the ffmpeg program, which is fed the frames as raw RGB
// pixels on a pipe: H.264 in MP4, padded white to even sizes, or VP9 in WebM
// at the frames' own size. ffmpeg writes a new file beside the target, which
// takes the target's place only when ffmpeg succeeds; on a failure, or when
// the encoder goes unfinished, nothing is left behind. An ffmpeg that takes
// no frame and writes nothing for 30 seconds is ended as one that stopped
// responding.
class VideoEncoder : public AnimationEncoder
{
public:
    VideoEncoder(AnimatedFormat format, AnimationTiming timing, std::string targetPath, std::string program);
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // The program to run: what ZELBROOK_FFMPEG names, or ffmpeg on the PATH.
    static std::string ffmpegProgram();
    // How long ffmpeg may take no frame and write nothing: 30 seconds, or as
    // many milliseconds as ZELBROOK_FFMPEG_PATIENCE_MS gives, which the tests
    // set so that a stuck ffmpeg costs them a second, not half a minute.
    static std::chrono::milliseconds patience();

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(QSize size);
    Status send(const QImage &frame);
    Status failure(const std::string &what);
    Status finished();
    void stop();

    AnimatedFormat m_format;
    AnimationTiming m_timing;
    std::string m_target;
    std::string m_program;
    std::unique_ptr<ChildProcess> m_process;
    std::optional<ReplacementFile> m_file;
    QSize m_size;
    std::vector<char> m_pixels;
};

} // namespace zelbrook
