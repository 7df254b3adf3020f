// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_format.h"

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

struct FormatRow {
    RenderFormat format;
    std::string_view name;
    std::string_view extension;
    std::optional<ExportFormat> still;
    std::optional<AnimatedFormat> animated;
};

using R = RenderFormat;
using A = AnimatedFormat;
using E = ExportFormat;

constexpr std::array<FormatRow, 13> kFormats{{
    {R::Bmp, "bmp", "bmp", E::Bmp, std::nullopt},
    {R::Png, "png", "png", E::Png, std::nullopt},
    {R::Svg, "svg", "svg", E::Svg, std::nullopt},
    {R::Json, "json", "json", E::Json, std::nullopt},
    {R::Zbk, "zbk", "zbk", E::Zbk, std::nullopt},
    {R::Gif, "gif", "gif", std::nullopt, A::Gif},
    {R::Apng, "apng", "apng", std::nullopt, A::Apng},
    {R::Webp, "webp", "webp", std::nullopt, A::Webp},
    {R::Mp4, "mp4", "mp4", std::nullopt, A::Mp4},
    {R::Webm, "webm", "webm", std::nullopt, A::Webm},
    {R::Sheet, "sheet", "png", std::nullopt, A::Sheet},
    {R::Lottie, "lottie", "lottie.json", std::nullopt, A::Lottie},
    {R::Zba, "zba", "zba", std::nullopt, std::nullopt},
}};

const FormatRow &rowOf(RenderFormat format) { return *std::ranges::find(kFormats, format, &FormatRow::format); }

bool sameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

std::optional<RenderFormat> renderFormatNamed(std::string_view name)
{
    for (const FormatRow &row : kFormats)
        if (sameLetters(name, row.name))
            return row.format;
    return std::nullopt;
}

std::string_view renderFormatName(RenderFormat format) { return rowOf(format).name; }

std::string_view renderFormatExtension(RenderFormat format) { return rowOf(format).extension; }

std::optional<ExportFormat> stillFormatOf(RenderFormat format) { return rowOf(format).still; }

std::optional<AnimatedFormat> animatedFormatOf(RenderFormat format) { return rowOf(format).animated; }

bool isRasterFormat(RenderFormat format)
{
    return format != R::Svg && format != R::Json && format != R::Zbk && format != R::Lottie && format != R::Zba;
}

} // namespace zelbrook
