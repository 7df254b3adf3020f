// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_options.h"

#include "export/gif_encoder.h"
#include "tools/option_parser.h"
#include "tools/render_usage.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelbrook {

namespace {

using Format = RenderOptions::Format;

constexpr std::string_view kStandardStream = "-";

// The file name's extension, without the dot; empty when it has none. A
// Lottie file's is the "lottie" of NAME.lottie.json.
std::string_view extensionOf(std::string_view path)
{
    const std::string_view name = path.substr(path.rfind('/') + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    const std::size_t before = dot == 0 ? std::string_view::npos : name.rfind('.', dot - 1);
    if (before != std::string_view::npos && before > 0 && renderFormatNamed(name.substr(dot + 1)) == Format::Json) {
        const std::string_view inner = name.substr(before + 1, dot - before - 1);
        if (renderFormatNamed(inner) == Format::Lottie)
            return inner;
    }
    return name.substr(dot + 1);
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
        return "--size is only for bmp and png pictures, not " + std::string(renderFormatName(format));
    return std::nullopt;
}

// The options that only some formats take, and the outputs that some
// formats cannot have.
Failure checkAnimationOptions(const OptionParser &parser)
{
    const RenderOptions &options = parser.options;
    const std::string name(renderFormatName(options.format));
    if (options.key && !stillFormatOf(options.format))
        return "--key picks one key for bmp, png, svg, json and zbk, not " + name;
    if (options.figure && !stillFormatOf(options.format))
        return "--figure picks one figure for bmp, png, svg, json and zbk, not " + name;
    if (options.columns && options.format != Format::Sheet)
        return "--columns is only for sheet, not " + name;
    if (options.padding && options.format != Format::Sheet)
        return "--padding is only for sheet, not " + name;
    if (options.extrude && options.format != Format::Sheet)
        return "--extrude is only for sheet, not " + name;
    if ((options.format == Format::Mp4 || options.format == Format::Webm) && !options.batch
        && options.outputTarget == RenderOptions::OutputTarget::StandardOutput)
        return name + " video cannot be written to standard output";
    if (options.format == Format::Gif && options.fps)
        if (const Status rate = GifEncoder::checkRate(*options.fps); !rate)
            return rate.error().message;
    return std::nullopt;
}

// The options of pictures for games, each with the formats that take it.
Failure checkGameOptions(const OptionParser &parser)
{
    const RenderOptions &options = parser.options;
    const std::string name(renderFormatName(options.format));
    const auto among = [&options](std::initializer_list<Format> formats) {
        return std::find(formats.begin(), formats.end(), options.format) != formats.end();
    };
    if (options.transparent
        && !among({Format::Png, Format::Svg, Format::Gif, Format::Apng, Format::Webp, Format::Sheet, Format::Lottie}))
        return "--transparent is only for png, svg, gif, apng, webp, sheet and lottie, not " + name;
    if (options.trim
        && !among({Format::Bmp, Format::Png, Format::Svg, Format::Gif, Format::Apng, Format::Webp, Format::Sheet,
                   Format::Lottie}))
        return "--trim is only for bmp, png, svg, gif, apng, webp, sheet and lottie, not " + name;
    if (options.atlas && options.format != Format::Sheet)
        return "--atlas is only for sheet, not " + name;
    if (options.atlas && !options.batch && options.outputTarget == RenderOptions::OutputTarget::StandardOutput)
        return "--atlas writes NAME.json beside the sheet, so the sheet cannot go to standard output";
    if (options.size && (options.transparent || options.trim))
        return "--size cannot be given with --transparent or --trim";
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
        else if (argument == "--list-poses")
            return RenderListPosesRequest{};
        else if (const Failure failure = parser.takeOption(arguments, index))
            return RenderUsageError{*failure};
    }
    if (const Failure failure = parser.batchWanted ? takeBatch(parser) : takePositional(parser))
        return RenderUsageError{*failure};
    if (const Failure failure = checkSize(parser))
        return RenderUsageError{*failure};
    if (const Failure failure = checkAnimationOptions(parser))
        return RenderUsageError{*failure};
    if (const Failure failure = checkGameOptions(parser))
        return RenderUsageError{*failure};
    return parser.options;
}

std::string RenderOptions::usage() { return std::string(kRenderUsage); }

std::string RenderOptions::version() { return "zelbrook-render " ZELBROOK_VERSION "\n"; }

std::string_view RenderOptions::extension(Format format) { return renderFormatExtension(format); }

std::optional<RenderOptions::Format> RenderOptions::formatNamed(std::string_view name)
{
    return renderFormatNamed(name);
}

} // namespace zelbrook
