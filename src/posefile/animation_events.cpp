// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_events.h"

#include "animation_json.h"
#include "animation_text.h"

#include <algorithm>
#include <iterator>
#include <span>
#include <utility>

namespace zelbrook {

namespace {

using Kind = JsonValue::Kind;

enum RootMember { FormatMember, VersionMember, FpsMember, LoopMember, CastList, KeyList };
constexpr std::string_view kRootMembers[] = {"format", "version", "fps", "loop", "figures", "keys"};
enum CastMember { CastId, NameMember, ColorMember };
constexpr std::string_view kCastMembers[] = {"id", "name", "color"};
enum KeyMember { KeyPose, KeyPen, HoldMember, TweensMember, EaseMember, KeyFigureList };
constexpr std::string_view kKeyMembers[] = {"pose", "penWidth", "hold", "tweens", "ease", "figures"};
enum FigureMember { FigureIdMember, FigurePose, FigurePen };
constexpr std::string_view kFigureMembers[] = {"id", "pose", "penWidth"};

int indexIn(std::span<const std::string_view> names, std::string_view name)
{
    const auto found = std::ranges::find(names, name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

int poseMemberIndex(std::string_view name)
{
    for (const PoseField &field : poseFields()) {
        if (field.id != FieldId::PenWidth && field.name == name)
            return static_cast<int>(field.id);
    }
    return -1;
}

} // namespace

AnimationEvents::AnimationEvents(std::string_view text, const std::size_t &consumed, const Pose &startPose)
    : m_text(text)
    , m_consumed(consumed)
    , m_startPose(startPose)
{}

bool AnimationEvents::null() { return value({}); }
bool AnimationEvents::boolean(bool value) { return this->value({Kind::Boolean, value ? 1.0 : 0.0, {}}); }
bool AnimationEvents::number_integer(std::int64_t value)
{
    return this->value({Kind::Number, static_cast<double>(value), std::to_string(value)});
}
bool AnimationEvents::number_unsigned(std::uint64_t value)
{
    return this->value({Kind::Number, static_cast<double>(value), std::to_string(value)});
}
bool AnimationEvents::number_float(double value, const std::string &text)
{
    return this->value({Kind::Number, value, text});
}
bool AnimationEvents::string(std::string &value) { return this->value({Kind::Text, 0, std::move(value)}); }
bool AnimationEvents::binary(std::vector<std::uint8_t> &) { return true; }
bool AnimationEvents::start_object(std::size_t) { return open(Kind::Object); }
bool AnimationEvents::start_array(std::size_t) { return open(Kind::Array); }
bool AnimationEvents::end_array() { return end_object(); }

bool AnimationEvents::end_object()
{
    const Place place = m_frames.back().place;
    m_frames.pop_back();
    if (place == Place::CastFigure)
        endCastFigure();
    else if (place == Place::KeyFigure)
        endKeyFigure();
    else if (place == Place::Key)
        endKey();
    return true;
}

bool AnimationEvents::key(std::string &name)
{
    Frame &frame = m_frames.back();
    const int member = frame.place == Place::Root         ? indexIn(kRootMembers, name)
                       : frame.place == Place::CastFigure ? indexIn(kCastMembers, name)
                       : frame.place == Place::Key        ? indexIn(kKeyMembers, name)
                       : frame.place == Place::KeyFigure  ? indexIn(kFigureMembers, name)
                       : frame.place == Place::Pose       ? poseMemberIndex(name)
                                                          : -1;
    frame.member = member;
    if (member < 0)
        return true;
    const std::uint32_t bit = 1U << member;
    if ((frame.seen & bit) != 0)
        return refuse("the member \"" + name + "\" is given twice");
    frame.seen |= bit;
    m_versionRead = m_versionRead || (frame.place == Place::Root && member == VersionMember);
    return true;
}

bool AnimationEvents::parse_error(std::size_t position, const std::string &lastRead,
                                  const nlohmann::detail::exception &error)
{
    m_refusal = syntaxRefusal(m_text, position, lastRead, error);
    return false;
}

bool AnimationEvents::value(JsonValue value)
{
    if (m_frames.empty()) {
        m_members.kind = value.kind;
        return true;
    }
    Frame &frame = m_frames.back();
    if (frame.place == Place::Cast || frame.place == Place::Keys || frame.place == Place::KeyFigures) {
        openElement(frame.place, value.kind);
        return true;
    }
    if (frame.member < 0)
        return true;
    if (JsonValue *target = memberValue(frame))
        *target = std::move(value);
    else
        openMember(frame, value.kind);
    frame.member = -1;
    return true;
}

bool AnimationEvents::open(Kind kind)
{
    if (m_frames.size() == kDeepestNesting)
        return refuse("the text is nested deeper than " + std::to_string(kDeepestNesting) + " levels");
    Place place = Place::Skipped;
    if (m_frames.empty()) {
        m_members.kind = kind;
        place = kind == Kind::Object ? Place::Root : Place::Skipped;
    } else if (Frame &frame = m_frames.back();
               frame.place == Place::Cast || frame.place == Place::Keys || frame.place == Place::KeyFigures) {
        place = openElement(frame.place, kind);
    } else if (frame.member >= 0) {
        place = openMember(frame, kind);
        frame.member = -1;
    }
    m_frames.push_back({place});
    return true;
}

// A member that holds an object or an array, or what the file gave instead.
AnimationEvents::Place AnimationEvents::openMember(Frame &frame, Kind kind)
{
    const auto opened = [kind](Kind &recorded, Kind wanted, Place place) {
        recorded = kind;
        return kind == wanted ? place : Place::Skipped;
    };
    if (JsonValue *target = memberValue(frame)) {
        *target = {kind, 0, {}};
        return Place::Skipped;
    }
    if (frame.place == Place::Root && frame.member == CastList)
        return opened(m_members.cast.kind, Kind::Array, Place::Cast);
    if (frame.place == Place::Root) {
        m_members.castKeys.kind = kind;
        return opened(m_members.oneFigureKeys.kind, Kind::Array, Place::Keys);
    }
    if (frame.place == Place::Key && frame.member == KeyFigureList)
        return readsLayout(Layout::Cast) ? opened(m_key.figuresKind, Kind::Array, Place::KeyFigures) : Place::Skipped;
    if (frame.place == Place::Key)
        return readsLayout(Layout::OneFigure) ? opened(m_key.figure.pose.kind, Kind::Object, Place::Pose)
                                              : Place::Skipped;
    return opened(m_keyFigure.pose.kind, Kind::Object, Place::Pose);
}

// An element of the cast, of the keys, or of a key's figures. Anything but
// an object ends as it starts.
AnimationEvents::Place AnimationEvents::openElement(Place list, Kind kind)
{
    const bool object = kind == Kind::Object;
    if (list == Place::Cast) {
        if (++m_members.cast.count > kMaximumCastFigures || m_members.cast.refusal)
            return Place::Skipped;
        m_castFigure = CastMembers{kind, {}, {}, {}};
        return object ? Place::CastFigure : (endCastFigure(), Place::Skipped);
    }
    if (list == Place::Keys) {
        ++m_members.oneFigureKeys.count;
        ++m_members.castKeys.count;
        if (!checksKey(Layout::OneFigure) && !checksKey(Layout::Cast))
            return Place::Skipped;
        m_key = KeyMembers{};
        m_key.figure.kind = kind;
        return object ? Place::Key : (endKey(), Place::Skipped);
    }
    if (!m_key.figures)
        return Place::Skipped;
    m_keyFigure = FigureMembers{};
    m_keyFigure.kind = kind;
    return object ? Place::KeyFigure : (endKeyFigure(), Place::Skipped);
}

// Where a member of one value goes; none for a member that holds a list or a
// pose.
JsonValue *AnimationEvents::memberValue(const Frame &frame)
{
    const int member = frame.member;
    switch (frame.place) {
    case Place::Root:
        return member == FormatMember    ? &m_members.format
               : member == VersionMember ? &m_members.version
               : member == FpsMember     ? &m_members.fps
               : member == LoopMember    ? &m_members.loop
                                         : nullptr;
    case Place::CastFigure:
        return member == CastId ? &m_castFigure.id : member == NameMember ? &m_castFigure.name : &m_castFigure.color;
    case Place::Key:
        return member == KeyPen         ? &m_key.figure.penWidth
               : member == HoldMember   ? &m_key.hold
               : member == TweensMember ? &m_key.tweens
               : member == EaseMember   ? &m_key.ease
                                        : nullptr;
    case Place::KeyFigure:
        return member == FigureIdMember ? &m_keyFigure.id : member == FigurePen ? &m_keyFigure.penWidth : nullptr;
    case Place::Pose: {
        PoseMembers &pose = m_frames[m_frames.size() - 2].place == Place::Key ? m_key.figure.pose : m_keyFigure.pose;
        return &pose.fields[static_cast<std::size_t>(member)];
    }
    default:
        return nullptr;
    }
}

void AnimationEvents::endCastFigure()
{
    CheckedList<CastFigure> &cast = m_members.cast;
    if (cast.refusal || cast.count > kMaximumCastFigures)
        return;
    Result<CastFigure> figure = readCastFigure(m_castFigure, cast.kept.size());
    if (figure)
        cast.kept.push_back(std::move(figure).value());
    else
        cast.refusal = figure.error();
}

void AnimationEvents::endKeyFigure()
{
    if (!m_key.figures)
        return;
    std::vector<KeyFigure> &kept = m_key.figures.value();
    Result<KeyFigure> figure = readKeyFigure(m_keyFigure, kept.size(), m_startPose);
    if (figure)
        kept.push_back(std::move(figure).value());
    else
        m_key.figures = figure.error();
}

void AnimationEvents::endKey()
{
    for (const Layout layout : {Layout::OneFigure, Layout::Cast}) {
        CheckedList<Key> &keys = layout == Layout::Cast ? m_members.castKeys : m_members.oneFigureKeys;
        if (!checksKey(layout))
            continue;
        Result<Key> key = readKey(m_key, m_startPose, layout);
        if (key)
            keys.kept.push_back(std::move(key).value());
        else
            keys.refusal = Error{"key " + std::to_string(keys.count) + ": " + key.error().message};
    }
}

// Whether the key just begun is checked as one of the layout: past the first
// key refused, and past the most keys a file may have, they are only counted.
bool AnimationEvents::checksKey(Layout layout) const
{
    const CheckedList<Key> &keys = layout == Layout::Cast ? m_members.castKeys : m_members.oneFigureKeys;
    return readsLayout(layout) && !keys.refusal && keys.count <= Animation::kMaximumKeys;
}

// Until the file has given its version, its keys are read both ways.
bool AnimationEvents::readsLayout(Layout layout) const
{
    if (!m_versionRead)
        return true;
    const JsonValue &version = m_members.version;
    if (version.kind == Kind::Missing)
        return layout == Layout::OneFigure;
    return version.kind == Kind::Number && version.number == (layout == Layout::Cast ? 2 : 1);
}

bool AnimationEvents::refuse(std::string message)
{
    m_refusal = Error{placeInText(m_text, m_consumed == 0 ? 0 : m_consumed - 1) + message};
    return false;
}

} // namespace zelbrook
