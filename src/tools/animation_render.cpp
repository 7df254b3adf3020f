// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/animation_render.h"

namespace zelbrook {

bool AnimationRender::holdsAnimation(const RenderOptions &options, bool inputIsAnimation)
{
    const bool picked = options.key || options.figure;
    return animatedFormatOf(options.format) || options.format == RenderFormat::Zba
           || (options.format == RenderFormat::Json && inputIsAnimation && !picked);
}

AnimationRender AnimationRender::of(const RenderOptions &options)
{
    return {options.format,
            options.zoom,
            options.columns,
            options.transparent,
            options.trim,
            options.atlas,
            options.padding.value_or(0),
            options.extrude.value_or(0)};
}

Status AnimationRender::write(const Animation &animation, const std::string &path,
                              const AnimationExporter::FrameDone &frameDone) const
{
    AnimationTarget target;
    target.kind = format == RenderFormat::Zba    ? AnimationTarget::Kind::AnimationFile
                  : format == RenderFormat::Json ? AnimationTarget::Kind::Json
                                                 : AnimationTarget::Kind::Animated;
    target.format = animatedFormatOf(format).value_or(AnimatedFormat::Gif);
    target.zoom = zoom;
    target.sheetColumns = columns.value_or(0);
    target.transparent = transparent;
    target.trim = trim;
    target.atlas = atlas;
    target.sheetPadding = padding;
    target.sheetExtrude = extrude;
    return target.write(animation, path, frameDone);
}

} // namespace zelbrook
