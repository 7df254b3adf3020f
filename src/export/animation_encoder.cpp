// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_encoder.h"

#include "export/apng_encoder.h"
#include "export/gif_encoder.h"
#include "export/sprite_sheet_encoder.h"
#include "export/video_encoder.h"
#include "export/webp_encoder.h"
#include "platform/colour_palette.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace zelbrook {

Status AnimationEncoder::addFrame(const QImage &frame)
{
    if (!m_refusal)
        return m_refusal;
    Status added = encodeFrame(frame);
    if (!added)
        m_refusal = added;
    return added;
}

Status AnimationEncoder::finish()
{
    if (!m_refusal)
        return m_refusal;
    Status finished = complete();
    m_refusal = finished ? Status(Error{std::string(kFinished)}) : finished;
    return finished;
}

bool ExactColours::holds(QRgb rgb) const
{
    rgb &= 0x00FFFFFFu;
    if (colours.empty())
        return !isGrey(rgb) || rgb == 0 || rgb == 0x00FFFFFFu;
    return std::any_of(colours.begin(), colours.end(), [rgb](QRgb exact) { return (exact & 0x00FFFFFFu) == rgb; });
}

std::unique_ptr<AnimationEncoder> makeAnimationEncoder(AnimatedFormat format, const AnimationTiming &timing,
                                                       AnimationOutput output, ExactColours exact)
{
    switch (format) {
    case AnimatedFormat::Gif:
        return std::make_unique<GifEncoder>(timing, std::move(output.sink), std::move(exact));
    case AnimatedFormat::Apng:
        return std::make_unique<ApngEncoder>(timing, std::move(output.sink), std::move(exact));
    case AnimatedFormat::Webp:
        return std::make_unique<WebpEncoder>(timing, std::move(output.sink));
    case AnimatedFormat::Mp4:
    case AnimatedFormat::Webm:
        return std::make_unique<VideoEncoder>(format, timing, std::move(output.targetPath),
                                              VideoEncoder::ffmpegProgram());
    case AnimatedFormat::Sheet:
        return std::make_unique<SpriteSheetEncoder>(
            timing, std::move(output.sink), SheetLayout{output.sheetColumns, output.sheetPadding, output.sheetExtrude},
            std::move(exact));
    case AnimatedFormat::Lottie:
        break;
    }
    return nullptr;
}

std::int64_t frameEnd(std::size_t frame, int fps, int unitsPerSecond)
{
    const auto twiceUnits = 2 * static_cast<std::int64_t>(unitsPerSecond) * static_cast<std::int64_t>(frame);
    return (twiceUnits + fps) / (2 * static_cast<std::int64_t>(fps));
}

Result<QImage> checkedFrame(const QImage &frame, QSize size, const AnimationTiming &timing)
{
    if (timing.fps < 1 || timing.fps > kMaximumFrameRate)
        return Error{"The frame rate is " + std::to_string(timing.fps) + ", outside 1 to "
                     + std::to_string(kMaximumFrameRate) + "."};
    if (frame.isNull())
        return Error{"The frame is empty."};
    if (!size.isEmpty() && frame.size() != size)
        return Error{"The frame is not of the size of the first frame."};
    return frame.format() == QImage::Format_RGB32 ? frame : frame.convertToFormat(QImage::Format_RGB32);
}

namespace {

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

bool sameRow(const QImage &before, const QImage &after, int y)
{
    return std::memcmp(row(before, y), row(after, y), static_cast<std::size_t>(before.width()) * sizeof(QRgb)) == 0;
}

} // namespace

QRect changedArea(const QImage &before, const QImage &after)
{
    int top = 0;
    int bottom = before.height() - 1;
    while (top <= bottom && sameRow(before, after, top))
        ++top;
    if (top > bottom)
        return {};
    while (sameRow(before, after, bottom))
        --bottom;
    int left = before.width();
    int right = -1;
    for (int y = top; y <= bottom; ++y) {
        const QRgb *was = row(before, y);
        const QRgb *is = row(after, y);
        int x = 0;
        while (x < left && was[x] == is[x])
            ++x;
        left = std::min(left, x);
        x = before.width() - 1;
        while (x > right && was[x] == is[x])
            --x;
        right = std::max(right, x);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void copyArea(const QImage &from, QRect area, QImage &to, QPoint at)
{
    for (int y = 0; y < area.height(); ++y)
        std::memcpy(reinterpret_cast<QRgb *>(to.scanLine(at.y() + y)) + at.x(), row(from, area.top() + y) + area.left(),
                    static_cast<std::size_t>(area.width()) * sizeof(QRgb));
}

Status checkHasFrames(std::size_t frames)
{
    if (frames == 0)
        return Error{"An animation needs at least one frame."};
    return {};
}

Status checkFrameCount(std::size_t frames, const AnimationTiming &timing)
{
    if (Status some = checkHasFrames(frames); !some)
        return some;
    if (frames != timing.frameCount)
        return Error{"The animation has " + std::to_string(frames) + " frames, not the "
                     + std::to_string(timing.frameCount) + " it was started with."};
    return {};
}

} // namespace zelbrook
