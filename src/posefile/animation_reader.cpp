// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_file.h"

#include "animation_json.h"
#include "pose_reader.h"

#include <algorithm>

namespace zelbrook {

namespace {

// How the file holds its figures: one in each key, or a cast of them.
enum class Layout { OneFigure, Cast };

Result<Key> readKey(const Json &object, const Pose &startPose, Layout layout)
{
    if (!object.is_object())
        return Error{"a key is not a JSON object"};
    Key key;
    if (layout == Layout::Cast) {
        Result<std::vector<KeyFigure>> figures = readKeyFigures(object, startPose);
        if (!figures)
            return figures.error();
        key.figures = std::move(figures).value();
    } else {
        const Result<Figure> figure = readFigure(object, startPose);
        if (!figure)
            return figure.error();
        key.figures.front().figure = *figure;
    }
    if (Status hold = readWhole(object, "hold", Key::kHoldRange, key.hold); !hold)
        return hold.error();
    if (Status tweens = readWhole(object, "tweens", Key::kTweensRange, key.tweens); !tweens)
        return tweens.error();
    if (const Json *ease = member(object, "ease")) {
        if (*ease != "linear" && *ease != "smooth")
            return Error{"ease is not \"linear\" or \"smooth\""};
        key.ease = *ease == "smooth" ? Ease::Smooth : Ease::Linear;
    }
    return key;
}

Result<Layout> checkHeader(const Json &root)
{
    if (!root.is_object())
        return Error{std::string(kWrongFileType)};
    const Json *format = member(root, "format");
    if (!format || *format != kAnimationFormat)
        return Error{std::string(kWrongFileType)};
    const Json *version = member(root, "version");
    if (version && (!version->is_number() || version->get<double>() > kAnimationFileVersion))
        return Error{"the file was made by a newer version of Zelbrook"};
    return version && version->get<double>() >= 2 ? Layout::Cast : Layout::OneFigure;
}

Result<Playback> readPlayback(const Json &root)
{
    Playback playback;
    if (Status fps = readWhole(root, "fps", Playback::kFpsRange, playback.fps); !fps)
        return fps.error();
    if (const Json *loop = member(root, "loop")) {
        if (!loop->is_boolean())
            return Error{"loop is not true or false"};
        playback.loop = loop->get<bool>();
    }
    return playback;
}

Result<std::vector<Key>> readKeys(const Json &root, const Pose &startPose, Layout layout)
{
    const Json *keys = member(root, "keys");
    if (!keys || !keys->is_array() || keys->empty())
        return Error{"the file has no keys"};
    if (keys->size() > Animation::kMaximumKeys)
        return Error{"the file has " + std::to_string(keys->size()) + " keys, more than "
                     + std::to_string(Animation::kMaximumKeys)};
    std::vector<Key> read;
    read.reserve(keys->size());
    for (const Json &object : *keys) {
        Result<Key> key = readKey(object, startPose, layout);
        if (!key)
            return Error{"key " + std::to_string(read.size() + 1) + ": " + key.error().message};
        read.push_back(std::move(key).value());
    }
    return read;
}

// The library's reason without its own label and position.
std::string reasonOf(const nlohmann::json::exception &error)
{
    const std::string_view what = error.what();
    const std::size_t label = what.find("] ");
    std::string_view reason = label == std::string_view::npos ? what : what.substr(label + 2);
    if (const std::size_t colon = reason.find(": ");
        reason.starts_with("parse error") && colon != std::string_view::npos)
        reason.remove_prefix(colon + 2);
    return std::string(reason);
}

// "line 4, column 9: " and the reason, both counted from 1, from the byte
// position the library gives: that of the last byte it read, from 1.
Error syntaxError(std::string_view text, const nlohmann::json::parse_error &error)
{
    const std::size_t last = std::min<std::size_t>(error.byte == 0 ? 0 : error.byte - 1, text.size());
    const std::string_view before = text.substr(0, last);
    const std::size_t lineEnd = before.rfind('\n');
    const std::size_t lineStart = lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    const auto line = static_cast<std::size_t>(std::ranges::count(before, '\n')) + 1;
    return {"line " + std::to_string(line) + ", column " + std::to_string(last - lineStart + 1) + ": "
            + reasonOf(error)};
}

} // namespace

bool isAnimationText(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && text[first] == '{';
}

Result<Animation> readAnimationFile(std::string_view text, const Pose &startPose)
{
    if (text.size() > kMaximumAnimationFileSize)
        return Error{"the file is larger than 16 MiB"};
    Json root;
    try {
        root = Json::parse(text);
    } catch (const nlohmann::json::parse_error &error) {
        return syntaxError(text, error);
    } catch (const nlohmann::json::exception &error) {
        return Error{reasonOf(error)};
    }
    const Result<Layout> layout = checkHeader(root);
    if (!layout)
        return layout.error();
    const Result<Playback> playback = readPlayback(root);
    if (!playback)
        return playback.error();
    Result<std::vector<CastFigure>> cast =
        *layout == Layout::Cast ? readCast(root) : Result<std::vector<CastFigure>>({CastFigure{}});
    if (!cast)
        return cast.error();
    Result<std::vector<Key>> keys = readKeys(root, startPose, *layout);
    if (!keys)
        return keys.error();
    Animation animation(*playback, std::move(cast).value(), std::move(keys).value());
    if (Status valid = animation.check(); !valid)
        return valid.error();
    return animation;
}

} // namespace zelbrook
