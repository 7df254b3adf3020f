// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// How an animation plays: frames a second, whether it starts again after its
// last frame, and how many frames it has (needed up front by formats that
// record it before the first frame).
struct AnimationTiming {
    int fps = 12;
    bool loop = true;
    std::size_t frameCount = 0;
};

// The colours that an encoder which must make do with fewer colours keeps
// exactly: the figures' colours, with black and white. The caller gives the
// cast's colours plus black and white; when it gives none, every colour
// that is not a grey, black and white are exact. Only the GIF encoder
// reduces colours, and only in a frame of more than 256: there the other
// colours (the credit line's anti-aliased greys) come within 16 levels of
// their own. The APNG and sprite sheet encoders make their palette of the
// first frame's colours and these, so every colour of a later frame must
// be among them.
struct ExactColours {
    std::vector<QRgb> colours;

    bool holds(QRgb rgb) const;
};

// Receives an encoder's output bytes in order; a failed write stops the
// encoding.
using ByteSink = std::function<Status(std::string_view bytes)>;

// Lottie is no picture: AnimationTarget writes it from the keys, and no
// encoder takes its frames.
enum class AnimatedFormat { Gif, Apng, Webp, Mp4, Webm, Sheet, Lottie };

// Turns the frames of an animation, given one at a time, into one animated
// picture. Frames are RGB32 pictures, all of one size (the GIF, APNG and
// WebP encoders also take ARGB32 ones with straight alpha); they are given
// in order, and finish() completes the output. An encoder writes one animation:
// after an error, or once finished, it refuses every frame and finish again
// with the reason, as what it held for the output may be gone.
class AnimationEncoder
{
public:
    virtual ~AnimationEncoder() = default;
    Status addFrame(const QImage &frame);
    Status finish();

    // Why a finished encoder takes no more.
    static constexpr std::string_view kFinished = "The animation is already finished.";

protected:
    virtual Status encodeFrame(const QImage &frame) = 0;
    virtual Status complete() = 0;

private:
    Status m_refusal;
};

// Where an encoder writes: the sink for the formats that produce bytes, the
// target file's name for video, which the ffmpeg program writes itself.
struct AnimationOutput {
    ByteSink sink;
    std::string targetPath;
    int sheetColumns = 0;
    int sheetPadding = 0;
    int sheetExtrude = 0;
};

std::unique_ptr<AnimationEncoder> makeAnimationEncoder(AnimatedFormat format, const AnimationTiming &timing,
                                                       AnimationOutput output, ExactColours exact = {});

// The time at which frame `frame` (counted from 1) ends, in units of
// 1/unitsPerSecond seconds, rounded to the nearest unit, halves up; frame 0
// ends at 0. Rounding the end of each frame rather than each frame's length
// keeps a long animation from drifting.
std::int64_t frameEnd(std::size_t frame, int fps, int unitsPerSecond);

inline constexpr int kMaximumFrameRate = 60;

// The frame as RGB32, or an error when it is empty, not of the size of the
// animation's first frame (given as `size`, or any size when that is empty),
// or the rate is not 1 to kMaximumFrameRate frames a second.
Result<QImage> checkedFrame(const QImage &frame, QSize size, const AnimationTiming &timing);

// The smallest rectangle outside which the two pictures of one size are the
// same; an empty one when they are the same everywhere.
QRect changedArea(const QImage &before, const QImage &after);

// Copies the area of one RGB32 picture into another, with its top left
// corner at `at`.
void copyArea(const QImage &from, QRect area, QImage &to, QPoint at);

// Refuses to finish an animation without frames.
Status checkHasFrames(std::size_t frames);

// Refuses to finish an animation without frames, or with another number of
// frames than its timing gave at the start.
Status checkFrameCount(std::size_t frames, const AnimationTiming &timing);

} // namespace zelbrook
