#include "tools/render_options.h"

#include "model/pose.h"

#include <QFileInfo>

#include <charconv>
#include <cmath>
#include <optional>

namespace zelbrook {

namespace {

using Format = RenderOptions::Format;

constexpr QLatin1StringView kStandardStream("-");

constexpr QLatin1StringView
    kUsage("Usage: zelbrook-render [options] POSE OUTPUT\n"
           "       zelbrook-render [options] --default OUTPUT\n"
           "\n"
           "Draws the figure of a Zelbrook pose file as a picture or as data.\n"
           "\n"
           "  POSE    a pose file (.zbk), or - to read it from standard input\n"
           "  OUTPUT  the file to write, or - for standard output (needs --format);\n"
           "          its extension chooses the format: .bmp .png .svg .json .zbk\n"
           "\n"
           "Options:\n"
           "  --default         draw the editor's start-up pose instead of a pose file\n"
           "  --format FORMAT   bmp, png, svg, json or zbk, whatever OUTPUT's extension\n"
           "  --scale S         multiply every length of the figure by S (default 1)\n"
           "  --rotate DEGREES  turn the figure counter-clockwise about the hip (default 0)\n"
           "  --pen PIXELS      pen width, 1 to 7 (default 2)\n"
           "  --zoom N          make a bmp or png picture N times as large, 1 to 8 (default 1)\n"
           "  --help            show this text and exit\n"
           "\n"
           "Exit status: 0 done, 1 the pose could not be read or the output not written,\n"
           "2 the command line is wrong.\n");

struct Parser {
    RenderOptions options;
    QStringList positional;
    std::optional<Format> format;
    bool defaultPose = false;
    bool optionsEnded = false;
};

using Failure = std::optional<QString>;

struct OptionRule {
    enum class Value { None, Required };
    QLatin1StringView name;
    Value value;
    Failure (*apply)(Parser &parser, const QString &value);
};

std::optional<double> finiteNumber(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const char *first = bytes.constBegin();
    const char *const last = bytes.constEnd();
    if (first != last && *first == '+')
        ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(const QString &text, int minimum, int maximum)
{
    const QByteArray bytes = text.toUtf8();
    int value = 0;
    const auto result = std::from_chars(bytes.constBegin(), bytes.constEnd(), value);
    if (result.ec != std::errc() || result.ptr != bytes.constEnd() || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

std::optional<Format> formatNamed(const QString &name)
{
    static const std::pair<QLatin1StringView, Format> kFormats[] = {
        {QLatin1StringView("bmp"), Format::Bmp}, {QLatin1StringView("png"), Format::Png},
        {QLatin1StringView("svg"), Format::Svg}, {QLatin1StringView("json"), Format::Json},
        {QLatin1StringView("zbk"), Format::Zbk},
    };
    for (const auto &[formatName, format] : kFormats)
        if (name.compare(formatName, Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

QString refused(const QString &option, const QString &value, const QString &expected)
{
    return QStringLiteral("%1 must be %2, not \"%3\"").arg(option, expected, value);
}

Failure applyScale(Parser &parser, const QString &value)
{
    const std::optional<double> scale = finiteNumber(value);
    if (!scale)
        return refused(QStringLiteral("--scale"), value, QStringLiteral("a finite number"));
    parser.options.scale = *scale;
    return std::nullopt;
}

Failure applyRotate(Parser &parser, const QString &value)
{
    const std::optional<double> degrees = finiteNumber(value);
    if (!degrees)
        return refused(QStringLiteral("--rotate"), value, QStringLiteral("a finite number of degrees"));
    parser.options.rotation = degreesToRadians(*degrees);
    return std::nullopt;
}

Failure applyPen(Parser &parser, const QString &value)
{
    const std::optional<int> pen = wholeNumber(value, RenderOptions::kMinimumPen, RenderOptions::kMaximumPen);
    if (!pen)
        return refused(QStringLiteral("--pen"), value, QStringLiteral("a whole number from 1 to 7"));
    parser.options.penWidth = *pen;
    return std::nullopt;
}

Failure applyZoom(Parser &parser, const QString &value)
{
    const std::optional<int> zoom = wholeNumber(value, RenderOptions::kMinimumZoom, RenderOptions::kMaximumZoom);
    if (!zoom)
        return refused(QStringLiteral("--zoom"), value, QStringLiteral("a whole number from 1 to 8"));
    parser.options.zoom = *zoom;
    return std::nullopt;
}

Failure applyFormat(Parser &parser, const QString &value)
{
    parser.format = formatNamed(value);
    if (!parser.format)
        return refused(QStringLiteral("--format"), value, QStringLiteral("one of bmp, png, svg, json and zbk"));
    return std::nullopt;
}

Failure applyDefault(Parser &parser, const QString &)
{
    parser.defaultPose = true;
    return std::nullopt;
}

constexpr OptionRule kOptions[] = {
    {QLatin1StringView("--scale"), OptionRule::Value::Required, applyScale},
    {QLatin1StringView("--rotate"), OptionRule::Value::Required, applyRotate},
    {QLatin1StringView("--pen"), OptionRule::Value::Required, applyPen},
    {QLatin1StringView("--zoom"), OptionRule::Value::Required, applyZoom},
    {QLatin1StringView("--format"), OptionRule::Value::Required, applyFormat},
    {QLatin1StringView("--default"), OptionRule::Value::None, applyDefault},
};

const OptionRule *findOption(QStringView name)
{
    for (const OptionRule &option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

// Takes the option at `index`, and its value from the next argument unless
// it is given as --name=value.
Failure takeOption(Parser &parser, const QStringList &arguments, qsizetype &index)
{
    const QString &argument = arguments[index];
    const qsizetype equals = argument.indexOf(QLatin1Char('='));
    const QString name = argument.left(equals);
    const OptionRule *const option = findOption(name);
    if (!option)
        return QStringLiteral("unknown option %1").arg(name);
    if (option->value == OptionRule::Value::None)
        return equals < 0 ? option->apply(parser, {}) : QStringLiteral("%1 takes no value").arg(name);
    if (equals >= 0)
        return option->apply(parser, argument.mid(equals + 1));
    if (index + 1 >= arguments.size())
        return QStringLiteral("%1 needs a value").arg(name);
    return option->apply(parser, arguments[++index]);
}

void takePose(Parser &parser, const QString &pose)
{
    RenderOptions &options = parser.options;
    options.poseSource =
        pose == kStandardStream ? RenderOptions::PoseSource::StandardInput : RenderOptions::PoseSource::File;
    options.posePath = pose;
}

Failure takeOutput(Parser &parser, const QString &output)
{
    RenderOptions &options = parser.options;
    options.outputTarget =
        output == kStandardStream ? RenderOptions::OutputTarget::StandardOutput : RenderOptions::OutputTarget::File;
    options.outputPath = output;
    if (parser.format) {
        options.format = *parser.format;
        return std::nullopt;
    }
    if (options.outputTarget == RenderOptions::OutputTarget::StandardOutput)
        return QStringLiteral("writing to standard output needs --format");
    const std::optional<Format> format = formatNamed(QFileInfo(output).suffix());
    if (!format)
        return QStringLiteral("cannot tell the format of \"%1\" from its extension; give --format").arg(output);
    options.format = *format;
    return std::nullopt;
}

Failure takePositional(Parser &parser)
{
    const qsizetype wanted = parser.defaultPose ? 1 : 2;
    const QStringList &given = parser.positional;
    if (given.isEmpty())
        return parser.defaultPose ? QStringLiteral("missing the output")
                                  : QStringLiteral("missing the pose file and the output");
    if (given.size() < wanted)
        return QStringLiteral("missing the output");
    if (given.size() > wanted)
        return parser.defaultPose ? QStringLiteral("too many arguments: --default takes only the output")
                                  : QStringLiteral("too many arguments");
    if (!parser.defaultPose)
        takePose(parser, given.first());
    return takeOutput(parser, given.last());
}

bool isOption(const QString &argument) { return argument.startsWith(QLatin1Char('-')) && argument != kStandardStream; }

} // namespace

ParsedRenderArguments RenderOptions::parse(const QStringList &arguments)
{
    Parser parser;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString &argument = arguments[index];
        if (parser.optionsEnded || !isOption(argument))
            parser.positional << argument;
        else if (argument == QLatin1StringView("--"))
            parser.optionsEnded = true;
        else if (argument == QLatin1StringView("--help") || argument == QLatin1StringView("-h"))
            return RenderHelpRequest{};
        else if (const Failure failure = takeOption(parser, arguments, index))
            return RenderUsageError{*failure};
    }
    if (const Failure failure = takePositional(parser))
        return RenderUsageError{*failure};
    return parser.options;
}

QString RenderOptions::usage() { return kUsage; }

} // namespace zelbrook
