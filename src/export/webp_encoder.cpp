// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/webp_encoder.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstring>

namespace zelbrook {

namespace {

constexpr int kMillisecondsPerSecond = 1000;

// The picture's pixels as the encoder's 32-bit straight-alpha ARGB words,
// which are laid out as Qt's are.
bool importFrame(const QImage &frame, WebPPicture &picture)
{
    picture.use_argb = 1;
    picture.width = frame.width();
    picture.height = frame.height();
    if (!WebPPictureAlloc(&picture))
        return false;
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(picture.argb + static_cast<std::ptrdiff_t>(y) * picture.argb_stride, frame.constScanLine(y),
                    static_cast<std::size_t>(frame.width()) * sizeof(std::uint32_t));
    return true;
}

} // namespace

WebpEncoder::WebpEncoder(AnimationTiming timing, ByteSink sink)
    : m_timing(timing)
    , m_sink(std::move(sink))
{}

WebpEncoder::~WebpEncoder() { WebPAnimEncoderDelete(m_encoder); }

Status WebpEncoder::encodeFrame(const QImage &input)
{
    const Result<QImage> checked = checkedFrame(input, m_size, m_timing);
    if (!checked)
        return checked.error();
    if (!m_encoder)
        if (Status started = start(checked->size()); !started)
            return started;
    const QImage frame = withStraightAlpha(input);
    const std::optional<FrameRun> run = m_runs.add(frame);
    if (m_runs.frames() > 1 && !run)
        return {}; // the frame before, lasting longer
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return failure("set up");
    config.lossless = 1;
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return failure("set up");
    const bool added =
        importFrame(frame, picture)
        && WebPAnimEncoderAdd(m_encoder, &picture,
                              static_cast<int>(frameEnd(m_runs.frames() - 1, m_timing.fps, kMillisecondsPerSecond)),
                              &config);
    WebPPictureFree(&picture);
    if (!added)
        return failure("encode a frame");
    return {};
}

Status WebpEncoder::complete()
{
    if (Status some = checkHasFrames(m_runs.frames()); !some)
        return some;
    // A last call without a picture gives the last frame its length.
    const auto end = static_cast<int>(frameEnd(m_runs.frames(), m_timing.fps, kMillisecondsPerSecond));
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(m_encoder, nullptr, end, nullptr) || !WebPAnimEncoderAssemble(m_encoder, &data))
        return failure("put the file together");
    Status written = m_sink(std::string_view(reinterpret_cast<const char *>(data.bytes), data.size));
    WebPDataClear(&data);
    return written;
}

// Settings as in webp's own img2webp: whole frames or changed rectangles,
// whichever is smaller, all lossless.
Status WebpEncoder::start(QSize size)
{
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options))
        return failure("set up");
    options.anim_params.loop_count = m_timing.loop ? 0 : 1;
    options.allow_mixed = 0;
    options.minimize_size = 0;
    m_encoder = WebPAnimEncoderNew(size.width(), size.height(), &options);
    if (!m_encoder)
        return failure("set up");
    m_size = size;
    return {};
}

Status WebpEncoder::failure(const char *doing)
{
    const char *reason = m_encoder ? WebPAnimEncoderGetError(m_encoder) : nullptr;
    std::string message = std::string("The WebP encoder could not ") + doing;
    if (reason && *reason)
        message += std::string(": ") + reason;
    return Error{message + "."};
}

} // namespace zelbrook
