// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_members.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// Every member of an animation file that Zelbrook reads, as one table: its
// name, the object it may stand in and what reads it. A member the table
// does not name is skipped whatever it holds.

namespace zelbrook {

// The objects and lists of an animation file that the reader reads.
enum class Place : std::uint8_t {
    Root,
    Cast,
    CastFigure,
    Keys,
    Key,
    KeyFigures,
    KeyFigure,
    KeyPose,
    FigurePose,
    Pins,
    Pin,
    Skipped,
};

// The records the reader fills as the text streams past: the animation's
// own members and the one record of each kind that is open.
struct MembersRead {
    AnimationMembers animation;
    CastMembers castFigure;
    KeyMembers key;
    FigureMembers keyFigure;
    // The end whose place is being read.
    std::size_t pin = 0;
};

struct MemberRow {
    Place where;
    std::string_view name;
    // A member of one value: where its value goes, `slot` telling the pose
    // fields apart. Null for a member that holds a list or an object.
    JsonValue *(*value)(MembersRead &read, std::size_t slot) = nullptr;
    std::size_t slot = 0;
    // A member that holds a list or an object: the kind it must be, where
    // the kind the file gave is recorded, the place it opens, and the
    // layout whose keys read it where only one does.
    JsonValue::Kind holds = JsonValue::Kind::Missing;
    void (*record)(MembersRead &read, std::size_t slot, JsonValue::Kind kind) = nullptr;
    Place opens = Place::Skipped;
    std::optional<Layout> layout = std::nullopt;
    // The first file version that has the member; a file of an earlier
    // version that gives it has it skipped.
    int since = 1;
};

// A member found in the table, with its number among the members of its
// place, which tells a member given twice.
struct FoundMember {
    const MemberRow *row = nullptr;
    unsigned bit = 0;
};

FoundMember findMember(Place where, std::string_view name);

} // namespace zelbrook
