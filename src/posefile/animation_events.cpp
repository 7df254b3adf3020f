// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_events.h"

#include "animation_json.h"
#include "animation_text.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace zelbrook {

namespace {

using Kind = JsonValue::Kind;

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
    const FoundMember found = findMember(frame.place, name);
    frame.member = found.row;
    if (!found.row && frame.place == Place::Pins)
        return refuse("\"" + name + "\" is not an end that can be pinned: lHand, rHand, lFoot or rFoot");
    if (!found.row)
        return true;
    const std::uint32_t bit = 1U << found.bit;
    if ((frame.seen & bit) != 0)
        return refuse("the member \"" + name + "\" is given twice");
    frame.seen |= bit;
    m_versionRead = m_versionRead || (frame.place == Place::Root && found.row->name == "version");
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
        m_read.animation.kind = value.kind;
        return true;
    }
    Frame &frame = m_frames.back();
    if (frame.place == Place::Cast || frame.place == Place::Keys || frame.place == Place::KeyFigures) {
        openElement(frame.place, value.kind);
        return true;
    }
    if (frame.place == Place::Pin) {
        pinElement(std::move(value));
        return true;
    }
    if (!frame.member || !readsMember(*frame.member))
        return true;
    if (frame.member->value)
        *frame.member->value(m_read, frame.member->slot) = std::move(value);
    else
        openMember(*frame.member, value.kind);
    frame.member = nullptr;
    return true;
}

bool AnimationEvents::open(Kind kind)
{
    if (m_frames.size() == kDeepestNesting)
        return refuse("the text is nested deeper than " + std::to_string(kDeepestNesting) + " levels");
    Place place = Place::Skipped;
    if (m_frames.empty()) {
        m_read.animation.kind = kind;
        place = kind == Kind::Object ? Place::Root : Place::Skipped;
    } else if (Frame &frame = m_frames.back();
               frame.place == Place::Cast || frame.place == Place::Keys || frame.place == Place::KeyFigures) {
        place = openElement(frame.place, kind);
    } else if (frame.place == Place::Pin) {
        pinElement({kind, 0, {}});
    } else if (frame.member) {
        place = openMember(*frame.member, kind);
        frame.member = nullptr;
    }
    m_frames.push_back({place});
    return true;
}

// A member that holds an object or an array, or what the file gave instead.
Place AnimationEvents::openMember(const MemberRow &member, Kind kind)
{
    if (member.value) {
        if (readsMember(member))
            *member.value(m_read, member.slot) = {kind, 0, {}};
        return Place::Skipped;
    }
    if (!readsMember(member))
        return Place::Skipped;
    member.record(m_read, member.slot, kind);
    return kind == member.holds ? member.opens : Place::Skipped;
}

// An element of the cast, of the keys, or of a key's figures. Anything but
// an object ends as it starts.
Place AnimationEvents::openElement(Place list, Kind kind)
{
    const bool object = kind == Kind::Object;
    if (list == Place::Cast) {
        if (++m_read.animation.cast.count > kMaximumCastFigures || m_read.animation.cast.refusal)
            return Place::Skipped;
        m_read.castFigure = CastMembers{kind, {}, {}, {}};
        return object ? Place::CastFigure : (endCastFigure(), Place::Skipped);
    }
    if (list == Place::Keys) {
        ++m_read.animation.oneFigureKeys.count;
        ++m_read.animation.castKeys.count;
        if (!checksKey(Layout::OneFigure) && !checksKey(Layout::Cast))
            return Place::Skipped;
        m_read.key = KeyMembers{};
        m_read.key.figure.kind = kind;
        return object ? Place::Key : (endKey(), Place::Skipped);
    }
    if (!m_read.key.figures)
        return Place::Skipped;
    m_read.keyFigure = FigureMembers{};
    m_read.keyFigure.kind = kind;
    return object ? Place::KeyFigure : (endKeyFigure(), Place::Skipped);
}

void AnimationEvents::endCastFigure()
{
    CheckedList<CastFigure> &cast = m_read.animation.cast;
    if (cast.refusal || cast.count > kMaximumCastFigures)
        return;
    Result<CastFigure> figure = readCastFigure(m_read.castFigure, cast.kept.size());
    if (figure)
        cast.kept.push_back(std::move(figure).value());
    else
        cast.refusal = figure.error();
}

void AnimationEvents::endKeyFigure()
{
    if (!m_read.key.figures)
        return;
    std::vector<KeyFigure> &kept = m_read.key.figures.value();
    Result<KeyFigure> figure = readKeyFigure(m_read.keyFigure, kept.size(), m_startPose);
    if (figure)
        kept.push_back(std::move(figure).value());
    else
        m_read.key.figures = figure.error();
}

void AnimationEvents::endKey()
{
    for (const Layout layout : {Layout::OneFigure, Layout::Cast}) {
        CheckedList<Key> &keys = layout == Layout::Cast ? m_read.animation.castKeys : m_read.animation.oneFigureKeys;
        if (!checksKey(layout))
            continue;
        Result<Key> key = readKey(m_read.key, m_startPose, layout);
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
    const CheckedList<Key> &keys = layout == Layout::Cast ? m_read.animation.castKeys : m_read.animation.oneFigureKeys;
    return readsLayout(layout) && !keys.refusal && keys.count <= Animation::kMaximumKeys;
}

// A member of a later version than the file's is skipped, as one it does
// not know; until the file has given its version, every member is read.
bool AnimationEvents::readsMember(const MemberRow &member) const
{
    if (member.layout && !readsLayout(*member.layout))
        return false;
    const JsonValue &version = m_read.animation.version;
    return member.since <= 1 || !m_versionRead || (version.kind == Kind::Number && version.number >= member.since);
}

void AnimationEvents::pinElement(JsonValue value)
{
    PinMembers &pin = m_read.keyFigure.pins[m_read.pin];
    if (pin.count < pin.coordinates.size())
        pin.coordinates[pin.count] = std::move(value);
    ++pin.count;
}

// Until the file has given its version, its keys are read both ways.
bool AnimationEvents::readsLayout(Layout layout) const
{
    if (!m_versionRead)
        return true;
    const JsonValue &version = m_read.animation.version;
    if (version.kind == Kind::Missing)
        return layout == Layout::OneFigure;
    if (version.kind != Kind::Number)
        return false;
    return layout == Layout::Cast ? version.number >= 2 : version.number == 1;
}

bool AnimationEvents::refuse(std::string message)
{
    m_refusal = Error{placeInText(m_text, m_consumed == 0 ? 0 : m_consumed - 1) + message};
    return false;
}

} // namespace zelbrook
