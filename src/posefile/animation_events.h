// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_member_table.h"

#include "model/pose.h"
#include "model/result.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// Takes an animation file's JSON as the parser's stream of events and keeps
// only the members Zelbrook reads (see AnimationMembers); members it does not
// know are skipped whatever they hold. It stops at the first event that
// breaks the text: nesting deeper than kDeepestNesting, a member it reads
// given twice in one object, or the parser's own refusal, each refused with
// its line and column.
class AnimationEvents
{
public:
    static constexpr std::size_t kDeepestNesting = 32;

    // `consumed` points to the count of bytes of `text` the parser has read.
    AnimationEvents(std::string_view text, const std::size_t &consumed, const Pose &startPose);

    const AnimationMembers &members() const { return m_read.animation; }
    const std::optional<Error> &refusal() const { return m_refusal; }

    // The parser's events, named as it calls them.
    bool null();
    bool boolean(bool value);
    bool number_integer(std::int64_t value);
    bool number_unsigned(std::uint64_t value);
    bool number_float(double value, const std::string &text);
    bool string(std::string &value);
    bool binary(std::vector<std::uint8_t> &value);
    bool start_object(std::size_t elements);
    bool key(std::string &name);
    bool end_object();
    bool start_array(std::size_t elements);
    bool end_array();
    bool parse_error(std::size_t position, const std::string &lastRead, const nlohmann::detail::exception &error);

private:
    // Where in the file the events are: the objects and arrays open.
    struct Frame {
        Place place;
        std::uint32_t seen = 0;            // the members read so far, one bit each
        const MemberRow *member = nullptr; // the member whose value comes next
    };

    bool value(JsonValue value);
    bool open(JsonValue::Kind kind);
    Place openMember(const MemberRow &member, JsonValue::Kind kind);
    Place openElement(Place list, JsonValue::Kind kind);
    void endElement(Place list, JsonValue::Kind kind);
    void endCastFigure();
    void endKeyFigure();
    void endKey();
    bool checksKey(Layout layout) const;
    bool readsLayout(Layout layout) const;
    bool readsMember(const MemberRow &member) const;
    void pinElement(JsonValue value);
    bool refuse(std::string message);
    std::string placeOfLastByte() const;

    std::string_view m_text;
    const std::size_t &m_consumed;
    const Pose &m_startPose;
    std::vector<Frame> m_frames;
    MembersRead m_read;
    bool m_versionRead = false;
    std::optional<Error> m_refusal;
};

} // namespace zelbrook
