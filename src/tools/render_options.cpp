#include "tools/render_options.h"

#include "tools/option_parser.h"
#include "tools/render_usage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelbrook {

namespace {

using Format = RenderOptions::Format;

constexpr std::string_view kStandardStream = "-";

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

// The file name's extension, without the dot; empty when it has none.
std::string_view extensionOf(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

using Failure = OptionParser::Failure;

Failure takeOutput(OptionParser &parser, const std::string &output)
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
    const std::optional<Format> format = RenderOptions::formatNamed(extensionOf(output));
    if (!format)
        return "cannot tell the format of " + OptionParser::quoted(output) + " from its extension; give --format";
    options.format = *format;
    return std::nullopt;
}

Failure takePositional(OptionParser &parser)
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

Failure takeBatch(OptionParser &parser)
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

// A size is met by scaling the picture, so it cannot come with a zoom, nor
// with a format that is not a picture of pixels.
Failure checkSize(const OptionParser &parser)
{
    if (!parser.options.size)
        return std::nullopt;
    if (parser.zoomGiven)
        return "--size and --zoom cannot be given together";
    const Format format = parser.options.format;
    if (format != Format::Bmp && format != Format::Png)
        return "--size is only for bmp and png pictures, not " + std::string(RenderOptions::extension(format));
    return std::nullopt;
}

bool isOption(const std::string &argument) { return argument.starts_with('-') && argument != kStandardStream; }

} // namespace

ParsedRenderArguments RenderOptions::parse(const std::vector<std::string> &arguments)
{
    OptionParser parser;
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
        else if (const Failure failure = parser.takeOption(arguments, index))
            return RenderUsageError{*failure};
    }
    if (const Failure failure = parser.batchWanted ? takeBatch(parser) : takePositional(parser))
        return RenderUsageError{*failure};
    if (const Failure failure = checkSize(parser))
        return RenderUsageError{*failure};
    return parser.options;
}

std::string RenderOptions::usage() { return std::string(kRenderUsage); }

std::string RenderOptions::version() { return "zelbrook-render " ZELBROOK_VERSION "\n"; }

std::string_view RenderOptions::extension(Format format)
{
    return std::ranges::find(kFormats, format, &std::pair<std::string_view, Format>::second)->first;
}

std::optional<RenderOptions::Format> RenderOptions::formatNamed(std::string_view name)
{
    for (const auto &[formatName, format] : kFormats)
        if (sameLetters(name, formatName))
            return format;
    return std::nullopt;
}

} // namespace zelbrook
