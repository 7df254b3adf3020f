#include "tools/render_options.h"

#include "model/pose.h"
#include "platform/system_file.h"
#include "tools/command_line_number.h"
#include "tools/render_usage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelbrook {

namespace {

using Format = RenderOptions::Format;

constexpr std::string_view kStandardStream = "-";

struct Parser {
    RenderOptions options;
    std::vector<std::string> positional;
    std::optional<Format> format;
    bool defaultPose = false;
    RenderBatch batch;
    bool batchWanted = false;
    // The first option that needs --output-dir, for the message without it.
    std::string_view batchOnlyOption;
};

using Failure = std::optional<std::string>;

struct OptionRule {
    enum class Value { None, Required };
    std::string_view name;
    Value value;
    Failure (*apply)(Parser &parser, const std::string &value);
};

constexpr std::array<std::pair<std::string_view, Format>, 5> kFormats = {{
    {"bmp", Format::Bmp},
    {"png", Format::Png},
    {"svg", Format::Svg},
    {"json", Format::Json},
    {"zbk", Format::Zbk},
}};

bool sameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<Format> formatNamed(std::string_view name)
{
    for (const auto &[formatName, format] : kFormats)
        if (sameLetters(name, formatName))
            return format;
    return std::nullopt;
}

// The file name's extension, without the dot; empty when it has none.
std::string_view extensionOf(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

std::string quoted(std::string_view name)
{
    std::string text(1, '"');
    text += SystemFile::printableName(name);
    text += '"';
    return text;
}

std::string refused(std::string_view option, const std::string &value, std::string_view expected)
{
    return std::string(option) + " must be " + std::string(expected) + ", not " + quoted(value);
}

Failure applyScale(Parser &parser, const std::string &value)
{
    const std::optional<double> scale = finiteNumber(value);
    if (!scale)
        return refused("--scale", value, "a finite number");
    parser.options.scale = *scale;
    return std::nullopt;
}

Failure applyRotate(Parser &parser, const std::string &value)
{
    const std::optional<double> degrees = finiteNumber(value);
    if (!degrees)
        return refused("--rotate", value, "a finite number of degrees");
    parser.options.rotation = degreesToRadians(*degrees);
    return std::nullopt;
}

Failure applyPen(Parser &parser, const std::string &value)
{
    const std::optional<int> pen = wholeNumber(value, RenderOptions::kMinimumPen, RenderOptions::kMaximumPen);
    if (!pen)
        return refused("--pen", value,
                       "a whole number from " + std::to_string(RenderOptions::kMinimumPen) + " to "
                           + std::to_string(RenderOptions::kMaximumPen));
    parser.options.penWidth = *pen;
    return std::nullopt;
}

Failure applyZoom(Parser &parser, const std::string &value)
{
    const std::optional<int> zoom = wholeNumber(value, RenderOptions::kMinimumZoom, RenderOptions::kMaximumZoom);
    if (!zoom)
        return refused("--zoom", value, "a whole number from 1 to 8");
    parser.options.zoom = *zoom;
    return std::nullopt;
}

Failure applyFormat(Parser &parser, const std::string &value)
{
    parser.format = formatNamed(value);
    if (!parser.format)
        return refused("--format", value, "one of bmp, png, svg, json and zbk");
    return std::nullopt;
}

Failure applyDefault(Parser &parser, const std::string &)
{
    parser.defaultPose = true;
    return std::nullopt;
}

Failure applyOutputDir(Parser &parser, const std::string &value)
{
    if (value.empty())
        return "the output folder's name is empty";
    parser.batch.outputDir = value;
    parser.batchWanted = true;
    return std::nullopt;
}

Failure applyList(Parser &parser, const std::string &value)
{
    if (value.empty())
        return "the list file's name is empty";
    parser.batch.listPath = value;
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--list" : parser.batchOnlyOption;
    return std::nullopt;
}

Failure applyJobs(Parser &parser, const std::string &value)
{
    const std::optional<int> jobs = wholeNumber(value, RenderBatch::kMinimumJobs, RenderBatch::kMaximumJobs);
    if (!jobs)
        return refused("--jobs", value, "a whole number from 1 to 256");
    parser.batch.jobs = *jobs;
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--jobs" : parser.batchOnlyOption;
    return std::nullopt;
}

Failure applyQuiet(Parser &parser, const std::string &)
{
    parser.batch.quiet = true;
    parser.batchOnlyOption = parser.batchOnlyOption.empty() ? "--quiet" : parser.batchOnlyOption;
    return std::nullopt;
}

constexpr OptionRule kOptions[] = {
    {"--scale", OptionRule::Value::Required, applyScale},
    {"--rotate", OptionRule::Value::Required, applyRotate},
    {"--pen", OptionRule::Value::Required, applyPen},
    {"--zoom", OptionRule::Value::Required, applyZoom},
    {"--format", OptionRule::Value::Required, applyFormat},
    {"--default", OptionRule::Value::None, applyDefault},
    {"--output-dir", OptionRule::Value::Required, applyOutputDir},
    {"--list", OptionRule::Value::Required, applyList},
    {"--jobs", OptionRule::Value::Required, applyJobs},
    {"--quiet", OptionRule::Value::None, applyQuiet},
};

// Takes the option at `index`, and its value from the next argument unless
// it is given as --name=value.
Failure takeOption(Parser &parser, const std::vector<std::string> &arguments, std::size_t &index)
{
    const std::string &argument = arguments[index];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    const auto option = std::ranges::find(kOptions, name, &OptionRule::name);
    if (option == std::end(kOptions))
        return "unknown option " + SystemFile::printableName(name);
    if (option->value == OptionRule::Value::None)
        return equals == std::string::npos ? option->apply(parser, {}) : name + " takes no value";
    if (equals != std::string::npos)
        return option->apply(parser, argument.substr(equals + 1));
    if (index + 1 >= arguments.size())
        return name + " needs a value";
    return option->apply(parser, arguments[++index]);
}

Failure takeOutput(Parser &parser, const std::string &output)
{
    RenderOptions &options = parser.options;
    if (output.empty())
        return "the output's name is empty";
    options.outputTarget =
        output == kStandardStream ? RenderOptions::OutputTarget::StandardOutput : RenderOptions::OutputTarget::File;
    options.outputPath = output;
    if (parser.format) {
        options.format = *parser.format;
        return std::nullopt;
    }
    if (options.outputTarget == RenderOptions::OutputTarget::StandardOutput)
        return "writing to standard output needs --format";
    const std::optional<Format> format = formatNamed(extensionOf(output));
    if (!format)
        return "cannot tell the format of " + quoted(output) + " from its extension; give --format";
    options.format = *format;
    return std::nullopt;
}

Failure takePositional(Parser &parser)
{
    if (!parser.batchOnlyOption.empty())
        return std::string(parser.batchOnlyOption) + " needs --output-dir";
    const std::size_t wanted = parser.defaultPose ? 1 : 2;
    const std::vector<std::string> &given = parser.positional;
    if (given.empty())
        return parser.defaultPose ? "missing the output" : "missing the pose file and the output";
    if (given.size() < wanted)
        return "missing the output";
    if (given.size() > wanted)
        return parser.defaultPose ? "too many arguments: --default takes only the output" : "too many arguments";
    if (!parser.defaultPose) {
        const std::string &pose = given.front();
        if (pose.empty())
            return "the pose file's name is empty";
        parser.options.poseSource =
            pose == kStandardStream ? RenderOptions::PoseSource::StandardInput : RenderOptions::PoseSource::File;
        parser.options.posePath = pose;
    }
    return takeOutput(parser, given.back());
}

Failure takeBatch(Parser &parser)
{
    if (!parser.format)
        return "--output-dir needs --format";
    for (const std::string &pose : parser.positional) {
        if (pose.empty())
            return "a pose file's name is empty";
        if (pose == kStandardStream)
            return "- (standard input) cannot be a pose with --output-dir";
    }
    if (parser.positional.empty() && !parser.batch.listPath && !parser.defaultPose)
        return "missing the pose files";
    parser.options.format = *parser.format;
    parser.batch.poses = std::move(parser.positional);
    parser.batch.startPose = parser.defaultPose;
    parser.options.batch = std::move(parser.batch);
    return std::nullopt;
}

bool isOption(const std::string &argument) { return argument.starts_with('-') && argument != kStandardStream; }

} // namespace

ParsedRenderArguments RenderOptions::parse(const std::vector<std::string> &arguments)
{
    Parser parser;
    bool optionsEnded = false;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string &argument = arguments[index];
        if (optionsEnded || !isOption(argument))
            parser.positional.push_back(argument);
        else if (argument == "--")
            optionsEnded = true;
        else if (argument == "--help" || argument == "-h")
            return RenderHelpRequest{};
        else if (argument == "--version")
            return RenderVersionRequest{};
        else if (const Failure failure = takeOption(parser, arguments, index))
            return RenderUsageError{*failure};
    }
    if (const Failure failure = parser.batchWanted ? takeBatch(parser) : takePositional(parser))
        return RenderUsageError{*failure};
    return parser.options;
}

std::string RenderOptions::usage() { return std::string(kRenderUsage); }

std::string RenderOptions::version() { return "zelbrook-render " ZELBROOK_VERSION "\n"; }

std::string_view RenderOptions::extension(Format format)
{
    return std::ranges::find(kFormats, format, &std::pair<std::string_view, Format>::second)->first;
}

} // namespace zelbrook
