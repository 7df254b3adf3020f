// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/sprite_atlas.h"

#include "export/animation_encoder.h"
#include "export/sprite_sheet_encoder.h"
#include "model/program_info.h"
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

// One tag a key, over the frames from its hold to its last in-between.
Json keyTags(const std::vector<FrameRef> &frames)
{
    Json tags = Json::array();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (i > 0 && frames[i].key == frames[i - 1].key) {
            tags.back()["to"] = i;
            continue;
        }
        tags.push_back(
            {{"name", "key " + std::to_string(frames[i].key + 1)}, {"from", i}, {"to", i}, {"direction", "forward"}});
    }
    return tags;
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
    const std::size_t columns = SpriteSheetEncoder::columnsFor(frames.size(), sheet.columns);
    const std::vector<int> times = durations(frames.size(), animation.playback().fps);
    Json list = Json::array();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const int x = static_cast<int>(i % columns) * sheet.cell.width();
        const int y = static_cast<int>(i / columns) * sheet.cell.height();
        list.push_back({{"filename", frameName(sheet.frameStem, i, frames.size())},
                        {"frame", rectangle(x, y, sheet.cell)},
                        {"rotated", false},
                        {"trimmed", sheet.trimmed},
                        {"spriteSourceSize", rectangle(sheet.offset.x(), sheet.offset.y(), sheet.cell)},
                        {"sourceSize", sizeOf(sheet.source)},
                        {"duration", times[i]}});
    }
    const auto rows = static_cast<int>((frames.size() + columns - 1) / columns);
    const QSize size(static_cast<int>(columns) * sheet.cell.width(), rows * sheet.cell.height());
    Json meta = {{"app", std::string(kApplicationTitle)},
                 {"version", ZELBROOK_VERSION},
                 {"image", sheet.imageName},
                 {"format", "RGBA8888"},
                 {"size", sizeOf(size)},
                 {"scale", "1"},
                 {"frameTags", keyTags(frames)}};
    return jsonText(Json{{"frames", std::move(list)}, {"meta", std::move(meta)}}, 2) + "\n";
}

} // namespace zelbrook
