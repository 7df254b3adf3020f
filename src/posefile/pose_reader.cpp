#include "pose_reader.h"

#include "model/pose_control.h"
#include "pose_file_field.h"
#include "pose_item_scanner.h"
#include "pose_number.h"
#include "pose_writer.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace zelbrook {

namespace {

using Kind = PoseFileError::Kind;

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

PoseFileError endsBefore(int itemNumber, std::string_view field)
{
    return {Kind::EndsEarly, "the file ends before " + itemLabel(itemNumber, field), std::nullopt};
}

PoseFileError wrongFileType(std::optional<std::int16_t> tag) { return {Kind::WrongFileType, "Wrong file type", tag}; }

// A number for a person to read: at most 10 significant digits, so that a
// value such as 1e308 is not spelled out in full.
std::string messageNumber(double value)
{
    if (value == 0)
        return "0";
    std::array<char, 32> buffer;
    const std::to_chars_result result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 10);
    return std::string(buffer.data(), result.ptr);
}

PoseFileError outOfRange(const FieldOutOfRange &field)
{
    return {Kind::OutOfRange,
            itemLabel(poseFileItemNumber(field.field), field.field) + " is " + messageNumber(field.value) + ", outside "
                + messageNumber(field.lowest) + " to " + messageNumber(field.highest),
            std::nullopt};
}

std::optional<PoseFileError> checkTag(std::string_view text)
{
    const PoseNumber number = PoseNumber::parse(text);
    if (number.status != PoseNumber::Status::Number)
        return wrongFileType(std::nullopt);
    const std::optional<std::int16_t> tag = roundToInt16(number.value);
    if (tag != kPoseFileTag)
        return wrongFileType(tag);
    return std::nullopt;
}

// A 16-bit field takes its value rounded to a whole number.
std::optional<PoseFileError> store(const PoseFileField &field, double value, Pose &pose)
{
    if (auto *const member = std::get_if<double Pose::*>(&field.member)) {
        pose.**member = value;
        return std::nullopt;
    }
    const std::optional<std::int16_t> whole = roundToInt16(value);
    if (!whole) {
        // A 16-bit field holds its slider position itself.
        const SliderRange range = findPoseControl(field.name)->range;
        return outOfRange({field.name, value, double(range.minimum), double(range.maximum)});
    }
    pose.*std::get<std::int16_t Pose::*>(field.member) = *whole;
    return std::nullopt;
}

std::optional<PoseFileError> readField(const PoseFileField &field, int itemNumber, std::string_view text, Pose &pose)
{
    const PoseNumber number = PoseNumber::parse(text);
    switch (number.status) {
    case PoseNumber::Status::Number:
        return store(field, number.value, pose);
    case PoseNumber::Status::TooLarge:
        return PoseFileError{Kind::TooLarge, itemLabel(itemNumber, field.name) + " is too large a number",
                             std::nullopt};
    case PoseNumber::Status::NotANumber:
        break;
    }
    const std::string what = text.empty() ? " is empty" : " is not a number" + quotedIfPlain(text);
    return PoseFileError{Kind::NotANumber, itemLabel(itemNumber, field.name) + what, std::nullopt};
}

} // namespace

std::variant<Pose, PoseFileError> readPoseFile(std::string_view text, const Pose &current)
{
    PoseItemScanner items(text);
    const std::optional<std::string_view> tag = items.next();
    if (!tag)
        return endsBefore(1, "the file type tag");
    if (auto error = checkTag(*tag))
        return *error;

    Pose pose = current;
    int itemNumber = 2;
    for (const PoseFileField &field : poseFileFields()) {
        const std::optional<std::string_view> item = items.next();
        if (!item)
            return endsBefore(itemNumber, field.name);
        if (auto error = readField(field, itemNumber, *item, pose))
            return *error;
        ++itemNumber;
    }
    if (const auto outside = firstFieldOutOfRange(pose))
        return outOfRange(*outside);
    return pose;
}

} // namespace zelbrook
