// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/option_parser.h"

#include "export/sheet_layout.h"
#include "model/animation.h"
#include "model/pose.h"
#include "platform/system_file.h"
#include "tools/command_line_number.h"

#include <algorithm>

namespace zelbrook {

namespace {

using Failure = OptionParser::Failure;

struct OptionRule {
    enum class Value { None, Required };
    std::string_view name;
    Value value;
    Failure (*apply)(OptionParser &parser, const std::string &value);
};

std::string refused(std::string_view option, const std::string &value, std::string_view expected)
{
    return std::string(option) + " must be " + std::string(expected) + ", not " + OptionParser::quoted(value);
}

Failure applyScale(OptionParser &parser, const std::string &value)
{
    const std::optional<double> scale = finiteNumber(value);
    if (!scale)
        return refused("--scale", value, "a finite number");
    parser.options.scale = *scale;
    return std::nullopt;
}

Failure applyRotate(OptionParser &parser, const std::string &value)
{
    const std::optional<double> degrees = finiteNumber(value);
    if (!degrees)
        return refused("--rotate", value, "a finite number of degrees");
    parser.options.rotation = degreesToRadians(*degrees);
    return std::nullopt;
}

// Stores the whole number from minimum to maximum given as the option's value.
template <typename Target>
Failure takeWholeNumber(std::string_view option, const std::string &value, int minimum, int maximum, Target &target)
{
    const std::optional<int> number = wholeNumber(value, minimum, maximum);
    if (!number)
        return refused(option, value,
                       "a whole number from " + std::to_string(minimum) + " to " + std::to_string(maximum));
    target = *number;
    return std::nullopt;
}

Failure applyPen(OptionParser &parser, const std::string &value)
{
    parser.options.penGiven = true;
    return takeWholeNumber("--pen", value, RenderOptions::kMinimumPen, RenderOptions::kMaximumPen,
                           parser.options.penWidth);
}

Failure applyZoom(OptionParser &parser, const std::string &value)
{
    parser.zoomGiven = true;
    return takeWholeNumber("--zoom", value, RenderOptions::kMinimumZoom, RenderOptions::kMaximumZoom,
                           parser.options.zoom);
}

Failure applySize(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--size", value, RenderOptions::kMinimumSize, RenderOptions::kMaximumSize,
                           parser.options.size);
}

Failure applyFps(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--fps", value, Playback::kFpsRange.minimum, Playback::kFpsRange.maximum,
                           parser.options.fps);
}

Failure applyLoop(OptionParser &parser, bool loop)
{
    if (parser.options.loop && *parser.options.loop != loop)
        return std::string("--loop and --once cannot be given together");
    parser.options.loop = loop;
    return std::nullopt;
}

Failure applyColumns(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--columns", value, 1, int(Animation::kMaximumFrames), parser.options.columns);
}

Failure applyPadding(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--padding", value, 0, SheetLayout::kMaximumPadding, parser.options.padding);
}

Failure applyExtrude(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--extrude", value, 0, SheetLayout::kMaximumExtrude, parser.options.extrude);
}

Failure applyKey(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--key", value, 1, int(Animation::kMaximumKeys), parser.options.key);
}

Failure applyFigure(OptionParser &parser, const std::string &value)
{
    return takeWholeNumber("--figure", value, kFirstFigureId, kLastFigureId, parser.options.figure);
}

Failure applyFormat(OptionParser &parser, const std::string &value)
{
    parser.format = RenderOptions::formatNamed(value);
    if (!parser.format)
        return refused("--format", value, "one of " + std::string(kRenderFormatNames));
    return std::nullopt;
}

Failure applyDefault(OptionParser &parser, const std::string &)
{
    parser.defaultPose = true;
    return std::nullopt;
}

Failure applyOutputDir(OptionParser &parser, const std::string &value)
{
    if (value.empty())
        return "the output folder's name is empty";
    parser.batch.outputDir = value;
    parser.batchWanted = true;
    return std::nullopt;
}

Failure applyList(OptionParser &parser, const std::string &value)
{
    if (value.empty())
        return "the list file's name is empty";
    parser.batch.listPath = value;
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--list" : parser.batchOnlyOption;
    return std::nullopt;
}

Failure applyJobs(OptionParser &parser, const std::string &value)
{
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--jobs" : parser.batchOnlyOption;
    return takeWholeNumber("--jobs", value, RenderBatch::kMinimumJobs, RenderBatch::kMaximumJobs, parser.batch.jobs);
}

Failure applyQuiet(OptionParser &parser, const std::string &)
{
    parser.batch.quiet = true;
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--quiet" : parser.batchOnlyOption;
    return std::nullopt;
}

Failure applyTransparent(OptionParser &parser, const std::string &)
{
    parser.options.transparent = true;
    return std::nullopt;
}

Failure applyTrim(OptionParser &parser, const std::string &)
{
    parser.options.trim = true;
    return std::nullopt;
}

Failure applyAtlas(OptionParser &parser, const std::string &)
{
    parser.options.atlas = true;
    return std::nullopt;
}

// clang-format off
constexpr OptionRule kOptions[] = {
    {"--scale", OptionRule::Value::Required, applyScale},
    {"--rotate", OptionRule::Value::Required, applyRotate},
    {"--pen", OptionRule::Value::Required, applyPen},
    {"--zoom", OptionRule::Value::Required, applyZoom},
    {"--size", OptionRule::Value::Required, applySize},
    {"--format", OptionRule::Value::Required, applyFormat},
    {"--default", OptionRule::Value::None, applyDefault},
    {"--output-dir", OptionRule::Value::Required, applyOutputDir},
    {"--list", OptionRule::Value::Required, applyList},
    {"--jobs", OptionRule::Value::Required, applyJobs},
    {"--quiet", OptionRule::Value::None, applyQuiet},
    {"--fps", OptionRule::Value::Required, applyFps},
    {"--loop", OptionRule::Value::None, [](OptionParser &parser, const std::string &) { return applyLoop(parser, true); }},
    {"--once", OptionRule::Value::None, [](OptionParser &parser, const std::string &) { return applyLoop(parser, false); }},
    {"--columns", OptionRule::Value::Required, applyColumns},
    {"--padding", OptionRule::Value::Required, applyPadding},
    {"--extrude", OptionRule::Value::Required, applyExtrude},
    {"--key", OptionRule::Value::Required, applyKey},
    {"--figure", OptionRule::Value::Required, applyFigure},
    {"--transparent", OptionRule::Value::None, applyTransparent},
    {"--trim", OptionRule::Value::None, applyTrim},
    {"--atlas", OptionRule::Value::None, applyAtlas},
};
// clang-format on

} // namespace

OptionParser::Failure OptionParser::takeOption(const std::vector<std::string> &arguments, std::size_t &index)
{
    const std::string &argument = arguments[index];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const auto option = std::ranges::find(kOptions, name, &OptionRule::name);
    if (option == std::end(kOptions))
        return "unknown option " + SystemFile::printableName(name);
    if (option->value == OptionRule::Value::None)
        return equals == std::string::npos ? option->apply(*this, {}) : name + " takes no value";
    if (equals != std::string::npos)
        return option->apply(*this, argument.substr(equals + 1));
    if (index + 1 >= arguments.size())
        return name + " needs a value";
    return option->apply(*this, arguments[++index]);
}

std::string OptionParser::quoted(std::string_view name)
{
    std::string text(1, '"');
    text += SystemFile::printableName(name);
    text += '"';
    return text;
}

} // namespace zelbrook
