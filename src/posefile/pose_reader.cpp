// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_reader.h"

#include "model/pose_field.h"
#include "pose_item_scanner.h"
#include "pose_number.h"
#include "pose_writer.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace zelbrook {

namespace {

// An item's text is quoted in a message only when it is short and plain.
constexpr std::size_t kLongestQuotedItem = 24;

std::string itemLabel(int itemNumber, std::string_view field)
{
    return "item " + std::to_string(itemNumber) + " (" + std::string(field) + ")";
}

std::string quotedIfPlain(std::string_view text)
{
    const bool plain =
        text.size() <= kLongestQuotedItem && std::ranges::all_of(text, [](char c) { return c >= ' ' && c <= '~'; });
    return plain ? ": \"" + std::string(text) + "\"" : std::string();
}

Error endsBefore(int itemNumber, std::string_view field)
{
    return {"the file ends before " + itemLabel(itemNumber, field)};
}

Error outOfRange(const PoseField &field, double value, double lowest, double highest)
{
    return {itemLabel(field.fileItem, field.name) + outsideRangeText(value, lowest, highest)};
}

// A 16-bit field takes its value rounded to a whole number; one that is no
// 16-bit number is reported against the field's slider, whose positions the
// field holds itself.
Status store(const PoseField &field, double value, Figure &figure)
{
    if (field.assign(figure, value))
        return {};
    return outOfRange(field, value, field.range->minimum, field.range->maximum);
}

Status readField(const PoseField &field, std::string_view text, Figure &figure)
{
    const PoseNumber number = PoseNumber::parse(text);
    switch (number.status) {
    case PoseNumber::Status::Number:
        return store(field, number.value, figure);
    case PoseNumber::Status::TooLarge:
        return Error{itemLabel(field.fileItem, field.name) + " is too large a number"};
    case PoseNumber::Status::NotANumber:
        break;
    }
    const std::string what = text.empty() ? " is empty" : " is not a number" + quotedIfPlain(text);
    return Error{itemLabel(field.fileItem, field.name) + what};
}

} // namespace

std::optional<std::int16_t> readPoseFileTag(std::string_view text)
{
    const std::optional<std::string_view> tag = PoseItemScanner(text).next();
    if (!tag)
        return std::nullopt;
    const PoseNumber number = PoseNumber::parse(*tag);
    if (number.status != PoseNumber::Status::Number)
        return std::nullopt;
    return roundToInt16(number.value);
}

bool hasWrongFileType(std::string_view text)
{
    return PoseItemScanner(text).next() && readPoseFileTag(text) != kPoseFileTag;
}

Result<Pose> readPoseFile(std::string_view text, const Pose &current)
{
    if (hasWrongFileType(text))
        return Error{std::string(kWrongFileType)};
    PoseItemScanner items(text);
    if (!items.next())
        return endsBefore(1, "the file type tag");

    Figure figure{current};
    for (const PoseField *field : fileFields()) {
        const std::optional<std::string_view> item = items.next();
        if (!item)
            return endsBefore(field->fileItem, field->name);
        if (Status stored = readField(*field, *item, figure); !stored)
            return stored.error();
    }
    if (const auto outside = firstFieldOutOfRange(figure.pose))
        return outOfRange(*outside->field, outside->value, outside->lowest, outside->highest);
    return figure.pose;
}

} // namespace zelbrook
