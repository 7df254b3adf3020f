// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_input.h"

#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"

#include <string>

namespace zelbrook {

namespace {

Figure adjusted(Figure figure, const RenderOptions &options)
{
    figure.pose.scale *= options.scale;
    figure.pose.rotation += options.rotation;
    if (options.penGiven)
        figure.penWidth = options.penWidth;
    return figure;
}

} // namespace

RenderInput RenderInput::startPose(const RenderOptions &options)
{
    RenderInput input;
    input.m_pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
    input.m_pose.scale = options.scale;
    input.m_pose.rotation = options.rotation;
    return input;
}

Result<RenderInput> RenderInput::fromText(std::string_view text, const RenderOptions &options)
{
    RenderInput input = startPose(options);
    if (isAnimationText(text)) {
        Result<Animation> animation = readAnimationFile(text, Pose::defaults(RasterCanvas::kWindowUnitWidth));
        if (!animation)
            return animation.error();
        input.m_animation = std::move(animation).value();
        return input;
    }
    Result<Pose> pose = readPoseFile(text, input.m_pose);
    if (!pose)
        return pose.error();
    input.m_pose = *pose;
    return input;
}

Animation RenderInput::animation(const RenderOptions &options) const
{
    if (!m_animation) {
        Animation one(Figure{m_pose, options.penWidth});
        if (options.fps)
            return Animation(Playback{*options.fps, true}, one.keys());
        return one;
    }
    std::vector<Key> keys = m_animation->keys();
    for (Key &key : keys) {
        for (KeyFigure &figure : key.figures)
            figure.figure = adjusted(figure.figure, options);
    }
    Playback playback = m_animation->playback();
    playback.fps = options.fps.value_or(playback.fps);
    return Animation(playback, m_animation->cast(), std::move(keys));
}

Result<std::optional<Figure>> RenderInput::figure(const RenderOptions &options) const
{
    const std::size_t count = keyCount();
    if (options.key && static_cast<std::size_t>(*options.key) > count)
        return Error{"there is no key " + std::to_string(*options.key) + ": it has " + std::to_string(count)
                     + (count == 1 ? " key" : " keys")};
    if (!m_animation)
        return std::optional<Figure>(Figure{m_pose, options.penWidth});
    if (count > 1 && !options.key)
        return std::optional<Figure>();
    const std::size_t index = options.key ? static_cast<std::size_t>(*options.key - 1) : 0;
    return std::optional<Figure>(adjusted(m_animation->key(index).figures.front().figure, options));
}

} // namespace zelbrook
