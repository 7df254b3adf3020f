// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sprite_atlas.h"

#include "export/animation_encoder.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "posefile/json_text.h"

#include <nlohmann/json.hpp>

#include <string>

namespace zelbrook {

namespace {

using Json = nlohmann::ordered_json;

Json rectangle(int x, int y, QSize size) { return {{"x", x}, {"y", y}, {"w", size.width()}, {"h", size.height()}}; }

Json sizeOf(QSize size) { return {{"w", size.width()}, {"h", size.height()}}; }

std::string frameName(const std::string &stem, std::size_t index, std::size_t count)
{
    const std::string number = std::to_string(index + 1);
    const std::size_t digits = std::max<std::size_t>(4, std::to_string(count).size());
    return stem + "-" + std::string(digits - number.size(), '0') + number + ".png";
}

// The tag of the whole animation, then one a key, over the frames from its
// hold to its last in-between.
Json tagsOf(const std::vector<FrameRef> &frames, const std::string &stem)
{
    Json tags = Json::array();
    tags.push_back({{"name", stem}, {"from", 0}, {"to", frames.size() - 1}, {"direction", "forward"}});
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (i > 0 && frames[i].key == frames[i - 1].key) {
            tags.back()["to"] = i;
            continue;
        }
        tags.push_back(
            {{"name", SpriteAtlas::tagName(stem, frames[i].key)}, {"from", i}, {"to", i}, {"direction", "forward"}});
    }
    return tags;
}

// Each tag's frames by the names PixiJS's Spritesheet gives them, which
// for a list of frames are their places in it ("0", "1"…), as it makes its
// animations.
Json animationsOf(const Json &tags)
{
    Json animations = Json::object();
    for (const Json &tag : tags) {
        Json names = Json::array();
        for (std::size_t i = tag["from"]; i <= tag["to"].get<std::size_t>(); ++i)
            names.push_back(std::to_string(i));
        animations[tag["name"].get<std::string>()] = std::move(names);
    }
    return animations;
}

// The hip of the first figure of the cast that the frame shows, as a
// fraction of the whole canvas: the same at every zoom. A frame without a
// figure turns about its middle.
Json pivotOf(const std::vector<SceneFigure> &scene)
{
    if (scene.empty())
        return {{"x", 0.5}, {"y", 0.5}};
    const Pose &pose = scene.front().figure.pose;
    return {{"x", pose.hipX / RasterCanvas::kUnitWidth}, {"y", pose.hipY / RasterCanvas::kUnitHeight}};
}

// The PNG header's colour type, at byte 25, named as atlas formats name
// pixel types.
std::string pixelTypeOf(const std::string &pngStart)
{
    constexpr std::size_t kColourType = 25;
    if (pngStart.size() <= kColourType)
        return "RGBA8888";
    switch (pngStart[kColourType]) {
    case 0:
        return "L8";
    case 2:
        return "RGB888";
    case 3:
        return "INDEXED8";
    case 4:
        return "LA88";
    default:
        return "RGBA8888";
    }
}

} // namespace

std::string SpriteAtlas::tagName(const std::string &stem, std::size_t key)
{
    const std::string tag = "key " + std::to_string(key + 1);
    return stem.empty() ? tag : stem + "/" + tag;
}

std::vector<int> SpriteAtlas::durations(std::size_t frameCount, int fps)
{
    std::vector<int> times;
    times.reserve(frameCount);
    for (std::size_t i = 0; i < frameCount; ++i)
        times.push_back(static_cast<int>(frameEnd(i + 1, fps, 1000) - frameEnd(i, fps, 1000)));
    return times;
}

std::string SpriteAtlas::json(const Animation &animation, const Sheet &sheet)
{
    const std::vector<FrameRef> frames = animation.frames();
    const std::vector<int> times = durations(frames.size(), animation.playback().fps);
    Json list = Json::array();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const QPoint at = sheet.layout.frameAt(i, frames.size(), sheet.cell);
        const Json pivot = pivotOf(animation.sceneAt(frames[i]));
        list.push_back({{"filename", frameName(sheet.frameStem, i, frames.size())},
                        {"frame", rectangle(at.x(), at.y(), sheet.cell)},
                        {"rotated", false},
                        {"trimmed", sheet.trimmed},
                        {"spriteSourceSize", rectangle(sheet.offset.x(), sheet.offset.y(), sheet.cell)},
                        {"sourceSize", sizeOf(sheet.source)},
                        {"pivot", pivot},
                        {"anchor", pivot},
                        {"duration", times[i]}});
    }
    Json tags = tagsOf(frames, sheet.frameStem);
    Json animations = animationsOf(tags);
    Json meta = {{"app", std::string(kApplicationTitle)},
                 {"version", ZELBROOK_VERSION},
                 {"image", sheet.imageName},
                 {"format", pixelTypeOf(sheet.pngStart)},
                 {"size", sizeOf(sheet.layout.sheetSize(frames.size(), sheet.cell))},
                 {"scale", "1"},
                 {"loop", animation.playback().loop},
                 {"frameTags", std::move(tags)}};
    return jsonText(Json{{"frames", std::move(list)}, {"animations", std::move(animations)}, {"meta", std::move(meta)}},
                    2)
           + "\n";
}

} // namespace zelbrook
