// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_file.h"

#include "animation_events.h"
#include "animation_json.h"
#include "animation_text.h"
#include "pose_reader.h"

#include <cmath>
#include <iterator>

namespace zelbrook {

namespace {

using Kind = JsonValue::Kind;

// Walks the text for the JSON parser and counts the bytes it has read, which
// places what the events refuse.
class CountingIterator
{
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    CountingIterator(const char *at, std::size_t &consumed)
        : m_at(at)
        , m_consumed(&consumed)
    {}
    reference operator*() const { return *m_at; }
    CountingIterator &operator++()
    {
        ++m_at;
        ++*m_consumed;
        return *this;
    }
    CountingIterator operator++(int)
    {
        CountingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CountingIterator &other) const { return m_at == other.m_at; }

private:
    const char *m_at;
    std::size_t *m_consumed;
};

Result<AnimationMembers> streamMembers(std::string_view text, const Pose &startPose)
{
    std::size_t consumed = 0;
    AnimationEvents events(text, consumed, startPose);
    const CountingIterator first(text.data(), consumed);
    const CountingIterator last(text.data() + text.size(), consumed);
    if (!nlohmann::json::sax_parse(first, last, &events))
        return events.refusal().value_or(Error{"the text is not JSON"});
    return events.members();
}

Result<Layout> checkHeader(const AnimationMembers &members)
{
    if (members.kind != Kind::Object || members.format.kind != Kind::Text || members.format.text != kAnimationFormat)
        return Error{std::string(kWrongFileType)};
    const JsonValue &version = members.version;
    if (version.kind == Kind::Missing)
        return Layout::OneFigure;
    const bool whole = version.kind == Kind::Number && version.number == std::floor(version.number);
    if (whole && version.number > kAnimationFileVersion)
        return Error{"the file was made by a newer version of Zelbrook"};
    if (whole && version.number >= 1)
        return version.number >= 2 ? Layout::Cast : Layout::OneFigure;
    return Error{"version is " + quotedValue(version) + ", not 1, 2 or 3"};
}

// A file of version 2 whose keys came before its version had its figures'
// pins and facing read, which that version does not have.
void forgetPinsBefore3(const AnimationMembers &members, std::vector<Key> &keys)
{
    if (members.version.number >= 3)
        return;
    for (Key &key : keys) {
        for (KeyFigure &figure : key.figures) {
            figure.figure.pins = {};
            figure.figure.facing = Facing::Right;
        }
    }
}

Result<Playback> readPlayback(const AnimationMembers &members)
{
    Playback playback;
    if (Status fps = readWhole(members.fps, "fps", Playback::kFpsRange, playback.fps); !fps)
        return fps.error();
    if (members.loop.kind != Kind::Missing) {
        if (members.loop.kind != Kind::Boolean)
            return Error{"loop is not true or false"};
        playback.loop = members.loop.number != 0;
    }
    return playback;
}

// Why a list of records is refused, if it is: the file has no `noun`, or
// `holder` has more than `most` of them, or one of them is refused.
template <typename Record>
Status checkList(const CheckedList<Record> &list, std::string_view holder, std::string_view noun, std::size_t most)
{
    if (list.kind != Kind::Array || list.count == 0)
        return Error{"the file has no " + std::string(noun)};
    if (list.count > most)
        return Error{std::string(holder) + " has " + std::to_string(list.count) + " " + std::string(noun)
                     + ", more than " + std::to_string(most)};
    if (list.refusal)
        return *list.refusal;
    return {};
}

} // namespace

Result<Animation> readAnimationFile(std::string_view text, const Pose &startPose)
{
    if (text.size() > kMaximumAnimationFileSize)
        return Error{"the file is larger than 16 MiB"};
    if (const std::optional<std::string_view> encoding = wideEncodingOf(text))
        return Error{"the file is " + std::string(*encoding) + "; Zelbrook reads UTF-8"};
    text = withoutByteOrderMark(text);
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos)
        return Error{placeInText(text, nul) + "a NUL byte, which UTF-8 JSON text never holds"};
    Result<AnimationMembers> members = streamMembers(text, startPose);
    if (!members)
        return members.error();
    const Result<Layout> layout = checkHeader(*members);
    if (!layout)
        return layout.error();
    const Result<Playback> playback = readPlayback(*members);
    if (!playback)
        return playback.error();
    std::vector<CastFigure> cast = {CastFigure{}};
    if (*layout == Layout::Cast) {
        if (Status read = checkList(members->cast, "the cast", "figures", kMaximumCastFigures); !read)
            return read.error();
        cast = std::move(members.value().cast.kept);
    }
    CheckedList<Key> &keys = *layout == Layout::Cast ? members.value().castKeys : members.value().oneFigureKeys;
    if (Status read = checkList(keys, "the file", "keys", Animation::kMaximumKeys); !read)
        return read.error();
    if (*layout == Layout::Cast)
        forgetPinsBefore3(*members, keys.kept);
    Animation animation(*playback, std::move(cast), std::move(keys.kept));
    if (Status valid = animation.check(); !valid)
        return valid.error();
    return animation;
}

} // namespace zelbrook
