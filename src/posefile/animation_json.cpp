// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_json.h"

#include "model/pose_field.h"
#include "model/printable_text.h"
#include "pose_number.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace zelbrook {

namespace {

using Kind = JsonValue::Kind;

constexpr std::size_t kLongestQuote = 40;

// The ranges of the fields that no slider limits in a pose file.
struct FreeRange {
    FieldId field;
    double lowest;
    double highest;
};
constexpr FreeRange kFreeRanges[] = {
    {FieldId::HipX, 0, 500},
    {FieldId::HipY, 0, 400},
    {FieldId::Scale, 0.5, 3},
    {FieldId::Rotation, -std::numbers::pi, std::numbers::pi},
};

Error outside(std::string_view name, double value, double lowest, double highest)
{
    return {std::string(name) + outsideRangeText(value, lowest, highest)};
}

Result<double> numberOf(const JsonValue &value, std::string_view name)
{
    if (value.kind != Kind::Number)
        return Error{std::string(name) + " is not a number"};
    return value.number;
}

Status readField(const PoseMembers &pose, const PoseField &field, Figure &figure)
{
    const JsonValue &value = pose.fields[static_cast<std::size_t>(field.id)];
    if (value.kind == Kind::Missing)
        return field.fileItem == 0 ? Status{} : Error{std::string(field.name) + " is missing"};
    const Result<double> number = numberOf(value, field.name);
    if (!number)
        return number.error();
    if (!field.assign(figure, *number))
        return outside(field.name, *number, field.range->minimum, field.range->maximum);
    for (const FreeRange &free : kFreeRanges) {
        if (free.field == field.id && (*number < free.lowest || *number > free.highest))
            return outside(field.name, *number, free.lowest, free.highest);
    }
    return {};
}

// A figure's id, which every figure of a file has.
Result<FigureId> readId(const JsonValue &value)
{
    if (value.kind == Kind::Missing)
        return Error{"id is missing"};
    FigureId id = 0;
    if (Status read = readWhole(value, "id", kFirstFigureId, kLastFigureId, id); !read)
        return read.error();
    return id;
}

// A pinned end's place: two finite numbers.
Result<Point> readPin(const PinMembers &pin, Limb limb)
{
    const auto finite = [](const JsonValue &value) {
        return value.kind == Kind::Number && std::isfinite(value.number);
    };
    if (pin.kind != Kind::Array || pin.count != 2 || !finite(pin.coordinates[0]) || !finite(pin.coordinates[1]))
        return Error{"pins: " + std::string(limbName(limb)) + " is not two finite numbers"};
    return Point{pin.coordinates[0].number, pin.coordinates[1].number};
}

Status readPinsAndFacing(const FigureMembers &members, Figure &figure)
{
    if (members.pinsKind != Kind::Missing && members.pinsKind != Kind::Object)
        return Error{"pins is not a JSON object"};
    for (const Limb limb : kLimbs) {
        const PinMembers &pin = members.pins[static_cast<std::size_t>(limb)];
        if (pin.kind == Kind::Missing)
            continue;
        const Result<Point> place = readPin(pin, limb);
        if (!place)
            return place.error();
        figure.pin(limb) = *place;
    }
    if (members.facing.kind == Kind::Missing)
        return {};
    if (members.facing.kind != Kind::Text || (members.facing.text != "left" && members.facing.text != "right"))
        return Error{"facing is not \"left\" or \"right\""};
    figure.facing = members.facing.text == "left" ? Facing::Left : Facing::Right;
    return {};
}

} // namespace

Status readWhole(const JsonValue &value, std::string_view name, int lowest, int highest, int &out)
{
    if (value.kind == Kind::Missing)
        return {};
    const Result<double> number = numberOf(value, name);
    if (!number)
        return number.error();
    if (*number != std::floor(*number))
        return Error{std::string(name) + " is not a whole number"};
    if (*number < lowest || *number > highest)
        return outside(name, *number, lowest, highest);
    out = static_cast<int>(*number);
    return {};
}

std::string quotedValue(const JsonValue &value)
{
    switch (value.kind) {
    case Kind::Missing:
        return "null";
    case Kind::Boolean:
        return value.number != 0 ? "true" : "false";
    case Kind::Number:
        return printableText(value.text, kLongestQuote);
    case Kind::Text:
        return '"' + printableText(value.text, kLongestQuote) + '"';
    case Kind::Array:
        return "an array";
    case Kind::Object:
        break;
    }
    return "an object";
}

Result<Figure> readFigure(const FigureMembers &members, const Pose &startPose)
{
    if (members.pose.kind != Kind::Object)
        return Error{"the pose is missing"};
    Figure figure{startPose};
    for (const PoseField &field : poseFields()) {
        if (field.id == FieldId::PenWidth)
            continue;
        if (Status read = readField(members.pose, field, figure); !read)
            return read.error();
    }
    if (const auto wrong = firstFieldOutOfRange(figure.pose))
        return outside(wrong->field->name, wrong->value, wrong->lowest, wrong->highest);
    if (Status pen = readWhole(members.penWidth, "penWidth", kPenWidthRange, figure.penWidth); !pen)
        return pen.error();
    return figure;
}

// A figure is named by its id once it has one, and by its place before.
Result<CastFigure> readCastFigure(const CastMembers &members, std::size_t place)
{
    const std::string placed = "the cast's figure " + std::to_string(place + 1) + ": ";
    if (members.kind != Kind::Object)
        return Error{placed + "it is not a JSON object"};
    const Result<FigureId> id = readId(members.id);
    if (!id)
        return Error{placed + id.error().message};
    CastFigure figure{*id, defaultFigureName(*id), kBlack};
    const std::string where = "figure " + std::to_string(*id) + ": ";
    if (members.name.kind != Kind::Missing) {
        if (members.name.kind != Kind::Text)
            return Error{where + "name is not text"};
        figure.name = members.name.text;
    }
    if (members.color.kind != Kind::Missing) {
        const std::optional<Color> read =
            members.color.kind == Kind::Text ? colorFromText(members.color.text) : std::nullopt;
        if (!read)
            return Error{where + "color is not #rrggbb"};
        figure.color = *read;
    }
    return figure;
}

Result<KeyFigure> readKeyFigure(const FigureMembers &members, std::size_t place, const Pose &startPose)
{
    const std::string where = "the key's figure " + std::to_string(place + 1) + ": ";
    if (members.kind != Kind::Object)
        return Error{where + "it is not a JSON object"};
    const Result<FigureId> id = readId(members.id);
    if (!id)
        return Error{where + id.error().message};
    Result<Figure> figure = readFigure(members, startPose);
    const Status extras = figure ? readPinsAndFacing(members, figure.value()) : Status{};
    if (!figure || !extras)
        return Error{"figure " + std::to_string(*id) + ": " + (figure ? extras.error() : figure.error()).message};
    return KeyFigure{*id, *figure};
}

Result<Key> readKey(const KeyMembers &members, const Pose &startPose, Layout layout)
{
    if (members.figure.kind != Kind::Object)
        return Error{"a key is not a JSON object"};
    Key key;
    if (layout == Layout::Cast) {
        if (members.figuresKind != Kind::Array)
            return Error{"the figures are missing"};
        if (!members.figures)
            return members.figures.error();
        key.figures = members.figures.value();
    } else {
        const Result<Figure> figure = readFigure(members.figure, startPose);
        if (!figure)
            return figure.error();
        key.figures.front().figure = *figure;
    }
    if (Status hold = readWhole(members.hold, "hold", Key::kHoldRange, key.hold); !hold)
        return hold.error();
    if (Status tweens = readWhole(members.tweens, "tweens", Key::kTweensRange, key.tweens); !tweens)
        return tweens.error();
    if (members.ease.kind != Kind::Missing) {
        const std::string_view ease =
            members.ease.kind == Kind::Text ? std::string_view(members.ease.text) : std::string_view();
        if (ease != "linear" && ease != "smooth")
            return Error{"ease is not \"linear\" or \"smooth\""};
        key.ease = ease == "smooth" ? Ease::Smooth : Ease::Linear;
    }
    return key;
}

} // namespace zelbrook
