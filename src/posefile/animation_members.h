// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/limb.h"
#include "model/pose_field.h"
#include "model/result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an animation file gave for the members Zelbrook reads, kept while its
// text streams past: the values of one record at a time, and the lists of
// records already checked. Nothing else of the text is kept.

namespace zelbrook {

// A member's value as the file gave it. A null is as if it were not there.
struct JsonValue {
    enum class Kind : std::uint8_t { Missing, Boolean, Number, Text, Array, Object };
    Kind kind = Kind::Missing;
    // A number's value, or a boolean's as 0 or 1.
    double number = 0;
    // A text's value, or a number as the file wrote it.
    std::string text;
};

// How a file holds its figures: one in each key, or a cast of them.
enum class Layout { OneFigure, Cast };

struct PoseMembers {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    std::array<JsonValue, kFieldCount> fields;
};

// A pinned end's place, [x, y]: the list's kind, how many elements it has
// and the first two.
struct PinMembers {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    std::size_t count = 0;
    std::array<JsonValue, 2> coordinates;
};

// A figure of a key: a version 2 or 3 key's figure, or a version 1 key
// itself.
struct FigureMembers {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    JsonValue id;
    PoseMembers pose;
    JsonValue penWidth;
    JsonValue::Kind pinsKind = JsonValue::Kind::Missing;
    std::array<PinMembers, kLimbCount> pins;
    JsonValue facing;
};

struct CastMembers {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    JsonValue id;
    JsonValue name;
    JsonValue color;
};

struct KeyMembers {
    FigureMembers figure;
    JsonValue hold;
    JsonValue tweens;
    JsonValue ease;
    JsonValue::Kind figuresKind = JsonValue::Kind::Missing;
    // A version 2 key's figures, checked as each ends, up to the first
    // refused.
    Result<std::vector<KeyFigure>> figures = std::vector<KeyFigure>{};
};

// A list of records checked one at a time: how many the file holds, those
// kept, and the first refused, after which none is kept.
template <typename Record>
struct CheckedList {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    std::size_t count = 0;
    std::vector<Record> kept;
    std::optional<Error> refusal;
};

struct AnimationMembers {
    JsonValue::Kind kind = JsonValue::Kind::Missing;
    JsonValue format;
    JsonValue version;
    JsonValue fps;
    JsonValue loop;
    CheckedList<CastFigure> cast;
    // The keys, read as either layout until the version says which.
    CheckedList<Key> oneFigureKeys;
    CheckedList<Key> castKeys;
};

} // namespace zelbrook
