// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_input.h"

#include "export/exporter.h"
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"

#include <algorithm>

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
        if (options.fps || options.loop)
            return Animation(Playback{options.fps.value_or(one.playback().fps), options.loop.value_or(true)},
                             one.keys());
        return one;
    }
    std::vector<Key> keys = m_animation->keys();
    for (Key &key : keys) {
        for (KeyFigure &figure : key.figures)
            figure.figure = adjusted(figure.figure, options);
    }
    Playback playback = m_animation->playback();
    playback.fps = options.fps.value_or(playback.fps);
    playback.loop = options.loop.value_or(playback.loop);
    return Animation(playback, m_animation->cast(), std::move(keys));
}

std::optional<std::size_t> RenderInput::pickedKey(const RenderOptions &options) const
{
    if (options.key)
        return static_cast<std::size_t>(*options.key) <= keyCount() ? std::optional(*options.key - 1) : std::nullopt;
    return keyCount() == 1 ? std::optional<std::size_t>(0) : std::nullopt;
}

std::vector<FigureId> RenderInput::figureIdsOf(std::size_t key) const
{
    if (!m_animation)
        return {kFirstFigureId};
    std::vector<FigureId> ids;
    for (const KeyFigure &figure : m_animation->key(key).figures)
        ids.push_back(figure.id);
    return ids;
}

std::optional<std::string> RenderInput::refusal(const RenderOptions &options) const
{
    if (options.key && static_cast<std::size_t>(*options.key) > keyCount())
        return std::nullopt; // no such key: the input is at fault, not the command line
    const std::optional<std::size_t> key = pickedKey(options);
    if (!key)
        return "an animation of " + std::to_string(keyCount()) + " keys cannot be a single "
               + std::string(renderFormatName(options.format)) + "; give one of " + std::string(kAnimationFormatNames)
               + ", --key N for one key, or --output-dir for numbered frames";
    const std::vector<FigureId> ids = figureIdsOf(*key);
    const std::string where = "key " + std::to_string(*key + 1);
    if (options.figure && std::find(ids.begin(), ids.end(), *options.figure) == ids.end()) {
        std::string known;
        for (const FigureId id : ids)
            known += (known.empty() ? "" : ", ") + std::to_string(id);
        return where + " holds no figure " + std::to_string(*options.figure) + "; its figures are " + known;
    }
    if (options.format == RenderFormat::Zbk && !options.figure && ids.size() > 1)
        return "a pose file holds one figure, and " + where + " holds " + std::to_string(ids.size())
               + "; give --figure ID for one of them";
    return std::nullopt;
}

Result<std::vector<SceneFigure>> RenderInput::scene(const RenderOptions &options) const
{
    const std::size_t count = keyCount();
    if (options.key && static_cast<std::size_t>(*options.key) > count)
        return Error{"there is no key " + std::to_string(*options.key) + ": it has " + std::to_string(count)
                     + (count == 1 ? " key" : " keys")};
    if (!m_animation)
        return std::vector<SceneFigure>{Exporter::alone(Figure{m_pose, options.penWidth})};
    std::vector<SceneFigure> scene = m_animation->sceneAt({pickedKey(options).value_or(0), 0, 0});
    std::erase_if(scene, [&](const SceneFigure &figure) { return options.figure && figure.id != *options.figure; });
    for (SceneFigure &figure : scene)
        figure.figure = adjusted(figure.figure, options);
    return scene;
}

} // namespace zelbrook
