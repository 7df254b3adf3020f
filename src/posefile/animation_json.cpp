// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_json.h"

#include "model/pose_field.h"
#include "pose_number.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace zelbrook {

namespace {

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

Result<double> numberOf(const Json &value, std::string_view name)
{
    if (!value.is_number())
        return Error{std::string(name) + " is not a number"};
    return value.get<double>();
}

Status readField(const Json &pose, const PoseField &field, Figure &figure)
{
    const Json *value = member(pose, std::string(field.name).c_str());
    if (!value)
        return field.fileItem == 0 ? Status{} : Error{std::string(field.name) + " is missing"};
    const Result<double> number = numberOf(*value, field.name);
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
Result<FigureId> readId(const Json &object)
{
    if (!member(object, "id"))
        return Error{"id is missing"};
    FigureId id = 0;
    if (Status read = readWhole(object, "id", kFirstFigureId, kLastFigureId, id); !read)
        return read.error();
    return id;
}

// A figure is named by its id once it has one, and by its place before.
Result<CastFigure> readCastFigure(const Json &object, std::size_t place)
{
    const std::string placed = "the cast's figure " + std::to_string(place + 1) + ": ";
    if (!object.is_object())
        return Error{placed + "it is not a JSON object"};
    const Result<FigureId> id = readId(object);
    if (!id)
        return Error{placed + id.error().message};
    CastFigure figure{*id, defaultFigureName(*id), kBlack};
    const std::string where = "figure " + std::to_string(*id) + ": ";
    if (const Json *name = member(object, "name")) {
        if (!name->is_string())
            return Error{where + "name is not text"};
        figure.name = name->get<std::string>();
    }
    if (const Json *color = member(object, "color")) {
        const std::optional<Color> read = color->is_string() ? colorFromText(color->get<std::string>()) : std::nullopt;
        if (!read)
            return Error{where + "color is not #rrggbb"};
        figure.color = *read;
    }
    return figure;
}

} // namespace

const Json *member(const Json &object, const char *name)
{
    const auto found = object.find(name);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

Status readWhole(const Json &object, const char *name, int lowest, int highest, int &out)
{
    const Json *value = member(object, name);
    if (!value)
        return {};
    const Result<double> number = numberOf(*value, name);
    if (!number)
        return number.error();
    if (*number != std::floor(*number))
        return Error{std::string(name) + " is not a whole number"};
    if (*number < lowest || *number > highest)
        return outside(name, *number, lowest, highest);
    out = static_cast<int>(*number);
    return {};
}

Result<Figure> readFigure(const Json &key, const Pose &startPose)
{
    const Json *pose = member(key, "pose");
    if (!pose || !pose->is_object())
        return Error{"the pose is missing"};
    Figure figure{startPose};
    for (const PoseField &field : poseFields()) {
        if (field.id == FieldId::PenWidth)
            continue;
        if (Status read = readField(*pose, field, figure); !read)
            return read.error();
    }
    if (const auto wrong = firstFieldOutOfRange(figure.pose))
        return outside(wrong->field->name, wrong->value, wrong->lowest, wrong->highest);
    if (Status pen = readWhole(key, "penWidth", kPenWidthRange, figure.penWidth); !pen)
        return pen.error();
    return figure;
}

Result<std::vector<CastFigure>> readCast(const Json &root)
{
    const Json *figures = member(root, "figures");
    if (!figures || !figures->is_array() || figures->empty())
        return Error{"the file has no figures"};
    if (figures->size() > kMaximumCastFigures)
        return Error{"the cast has " + std::to_string(figures->size()) + " figures, more than "
                     + std::to_string(kMaximumCastFigures)};
    std::vector<CastFigure> cast;
    for (const Json &object : *figures) {
        Result<CastFigure> figure = readCastFigure(object, cast.size());
        if (!figure)
            return figure.error();
        cast.push_back(std::move(figure).value());
    }
    return cast;
}

Result<std::vector<KeyFigure>> readKeyFigures(const Json &key, const Pose &startPose)
{
    const Json *figures = member(key, "figures");
    if (!figures || !figures->is_array())
        return Error{"the figures are missing"};
    std::vector<KeyFigure> read;
    for (const Json &object : *figures) {
        const std::string where = "the key's figure " + std::to_string(read.size() + 1) + ": ";
        if (!object.is_object())
            return Error{where + "it is not a JSON object"};
        const Result<FigureId> id = readId(object);
        if (!id)
            return Error{where + id.error().message};
        const Result<Figure> figure = readFigure(object, startPose);
        if (!figure)
            return Error{"figure " + std::to_string(*id) + ": " + figure.error().message};
        read.push_back({*id, *figure});
    }
    return read;
}

} // namespace zelbrook
