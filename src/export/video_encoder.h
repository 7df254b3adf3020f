// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "platform/replacement_file.h"

#include <memory>
#include <optional>
#include <vector>

class QProcess;

namespace zelbrook {

// A video made by the ffmpeg program, which is fed the frames as raw RGB
// pixels on a pipe: H.264 in MP4, padded white to even sizes, or VP9 in WebM
// at the frames' own size. ffmpeg writes a new file beside the target, which
// takes the target's place only when ffmpeg succeeds; on a failure, or when
// the encoder goes unfinished, nothing is left behind.
class VideoEncoder : public AnimationEncoder
{
public:
    VideoEncoder(AnimatedFormat format, AnimationTiming timing, std::string targetPath, std::string program);
    ~VideoEncoder() override;
    VideoEncoder(const VideoEncoder &) = delete;
    VideoEncoder &operator=(const VideoEncoder &) = delete;

    // The program to run: what ZELBROOK_FFMPEG names, or ffmpeg on the PATH.
    static std::string ffmpegProgram();

protected:
    Status encodeFrame(const QImage &frame) override;
    Status complete() override;

private:
    Status start(QSize size);
    Status send(const QImage &frame);
    Status failure(const std::string &what);
    void stop();

    AnimatedFormat m_format;
    AnimationTiming m_timing;
    std::string m_target;
    std::string m_program;
    std::unique_ptr<QProcess> m_process;
    std::optional<ReplacementFile> m_file;
    QSize m_size;
    std::vector<char> m_pixels;
};

} // namespace zelbrook
