// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/exporter.h"

#include <optional>
#include <string_view>

namespace zelbrook {

// Every kind of file zelbrook-render writes: one picture or the data of one
// figure, an animated picture or video, the motion data of every frame, or
// an animation file.
enum class RenderFormat { Bmp, Png, Svg, Json, Zbk, Gif, Apng, Webp, Mp4, Webm, Sheet, Lottie, Zba };

// The format of that name, in any case of letters.
std::optional<RenderFormat> renderFormatNamed(std::string_view name);
std::string_view renderFormatName(RenderFormat format);
// The extension of the format's files, without the dot: a sprite sheet is a
// PNG picture, and a Lottie file is JSON named NAME.lottie.json.
std::string_view renderFormatExtension(RenderFormat format);

// The still format that draws or writes one figure, if the format is one.
std::optional<ExportFormat> stillFormatOf(RenderFormat format);
// The animated format that plays every frame, if the format is one.
std::optional<AnimatedFormat> animatedFormatOf(RenderFormat format);
// Whether the format is drawn as pixels, so that a zoom applies.
bool isRasterFormat(RenderFormat format);

// "bmp, png, svg, json, zbk, gif, apng, webp, mp4, webm, sheet, lottie and zba".
inline constexpr std::string_view kRenderFormatNames =
    "bmp, png, svg, json, zbk, gif, apng, webp, mp4, webm, sheet, lottie and zba";
// The formats that take an animation of several keys.
inline constexpr std::string_view kAnimationFormatNames = "gif, apng, webp, mp4, webm, sheet, lottie, json and zba";

} // namespace zelbrook
