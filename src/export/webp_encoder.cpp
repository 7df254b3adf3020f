// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/webp_encoder.h"

#include "export/webp_container.h"

#include <webp/decode.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace zelbrook {

namespace {

constexpr int kMillisecondsPerSecond = 1000;

using MuxPointer = std::unique_ptr<WebPMux, decltype(&WebPMuxDelete)>;

// A lossless picture of `size`, every pixel transparent.
struct ClearPicture {
    std::uint8_t *bytes = nullptr;
    std::size_t size = 0;
    explicit ClearPicture(QSize area)
    {
        const std::vector<std::uint8_t> clear(std::size_t(area.width()) * std::size_t(area.height()) * 4);
        size = WebPEncodeLosslessBGRA(clear.data(), area.width(), area.height(), area.width() * 4, &bytes);
    }
    ~ClearPicture() { WebPFree(bytes); }
    ClearPicture(const ClearPicture &) = delete;
    ClearPicture &operator=(const ClearPicture &) = delete;
};

// The frame, lasting `length` milliseconds in pieces no longer than a frame
// holds: the frame lasts the first piece, and a transparent picture of its
// size drawn over it lasts each further piece, the last of them put away
// as the frame was to be.
bool pushFrame(WebPMux *mux, WebPMuxFrameInfo frame, std::int64_t length)
{
    const std::vector<std::int64_t> pieces = splitLength(length, WebpEncoder::kLongestFrame);
    WebPMuxFrameInfo more = frame;
    frame.duration = int(pieces[0]);
    frame.dispose_method = pieces.size() > 1 ? WEBP_MUX_DISPOSE_NONE : more.dispose_method;
    if (WebPMuxPushFrame(mux, &frame, 1) != WEBP_MUX_OK)
        return false;
    if (pieces.size() == 1)
        return true;
    int width = 0, height = 0;
    if (!WebPGetInfo(frame.bitstream.bytes, frame.bitstream.size, &width, &height))
        return false;
    const ClearPicture clear(QSize(width, height));
    more.bitstream = {clear.bytes, clear.size};
    more.blend_method = WEBP_MUX_BLEND;
    const WebPMuxAnimDispose putAway = more.dispose_method;
    for (std::size_t piece = 1; piece < pieces.size(); ++piece) {
        more.duration = int(pieces[piece]);
        more.dispose_method = piece + 1 < pieces.size() ? WEBP_MUX_DISPOSE_NONE : putAway;
        if (!clear.size || WebPMuxPushFrame(mux, &more, 1) != WEBP_MUX_OK)
            return false;
    }
    return true;
}

// The frames of the library's file again, each with its run's true length
// in milliseconds; a still of one picture, as the library writes one
// frame, becomes its first frame.
bool withTrueLengths(const WebPData &assembled, const std::vector<std::int64_t> &lengths, QSize size,
                     const WebPMuxAnimParams &params, WebPData &out)
{
    const MuxPointer from(WebPMuxCreate(&assembled, 0), WebPMuxDelete);
    const MuxPointer to(WebPMuxNew(), WebPMuxDelete);
    int frames = 0; // none in a still
    if (!from || !to || WebPMuxNumChunks(from.get(), WEBP_CHUNK_ANMF, &frames) != WEBP_MUX_OK
        || std::size_t(std::max(frames, 1)) != lengths.size())
        return false;
    bool pushed = WebPMuxSetCanvasSize(to.get(), size.width(), size.height()) == WEBP_MUX_OK
                  && WebPMuxSetAnimationParams(to.get(), &params) == WEBP_MUX_OK;
    for (std::size_t i = 0; i < lengths.size() && pushed; ++i) {
        WebPMuxFrameInfo frame;
        if (WebPMuxGetFrame(from.get(), int(i) + 1, &frame) != WEBP_MUX_OK)
            return false;
        if (frame.id == WEBP_CHUNK_IMAGE) {
            frame.id = WEBP_CHUNK_ANMF;
            frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
            frame.blend_method = WEBP_MUX_NO_BLEND;
        }
        pushed = pushFrame(to.get(), frame, lengths[i]);
        WebPDataClear(&frame.bitstream);
    }
    return pushed && WebPMuxAssemble(to.get(), &out) == WEBP_MUX_OK;
}

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
    m_alpha = m_alpha || frame.hasAlphaChannel();
    const std::optional<FrameRun> run = m_runs.add(frame);
    if (m_runs.frames() > 1 && !run)
        return {}; // the frame before, lasting longer
    if (run)
        endRun(*run);
    WebPConfig config;
    if (!WebPConfigInit(&config))
        return failure("set up");
    config.lossless = 1;
    WebPPicture picture;
    if (!WebPPictureInit(&picture))
        return failure("set up");
    const bool added =
        importFrame(frame, picture) && WebPAnimEncoderAdd(m_encoder, &picture, int(m_timestamp), &config);
    WebPPictureFree(&picture);
    if (!added)
        return failure("encode a frame");
    return {};
}

// The library is given no frame longer than one frame can hold; where a
// run is longer, or the file has a single frame, the frames are put
// together again with their true lengths.
void WebpEncoder::endRun(const FrameRun &run)
{
    const std::int64_t length = frameEnd(run.end, m_timing.fps, kMillisecondsPerSecond)
                                - frameEnd(run.first, m_timing.fps, kMillisecondsPerSecond);
    m_lengths.push_back(length);
    m_timestamp += std::min(length, kLongestFrame);
}

Status WebpEncoder::complete()
{
    if (Status some = checkHasFrames(m_runs.frames()); !some)
        return some;
    endRun(*m_runs.finish());
    // A last call without a picture gives the last frame its length.
    WebPData data;
    WebPDataInit(&data);
    if (!WebPAnimEncoderAdd(m_encoder, nullptr, int(m_timestamp), nullptr)
        || !WebPAnimEncoderAssemble(m_encoder, &data))
        return failure("put the file together");
    const std::string_view assembled(reinterpret_cast<const char *>(data.bytes), data.size);
    const bool tooLong =
        std::any_of(m_lengths.begin(), m_lengths.end(), [](std::int64_t length) { return length > kLongestFrame; });
    if (m_lengths.size() == 1 && !tooLong) {
        const std::optional<std::string> animated =
            animatedStill(assembled, m_size, m_lengths[0], m_timing.loop, m_alpha);
        WebPDataClear(&data);
        return animated ? m_sink(*animated) : failure("put the file together");
    }
    if (tooLong) {
        WebPData again;
        WebPDataInit(&again);
        const bool ok = withTrueLengths(data, m_lengths, m_size, {0xFFFFFFFFu, m_timing.loop ? 0 : 1}, again);
        WebPDataClear(&data);
        if (!ok)
            return failure("put the file together");
        data = again;
    }
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
