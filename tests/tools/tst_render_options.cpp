#include "tools/render_options.h"

#include <QTest>

using namespace zelbrook;

namespace {

// What the arguments ask for, in one line: the usage error's message,
// "help", or the pose, the output, the format and the numbers of the job.
QString outcome(const QStringList &arguments)
{
    const ParsedRenderArguments parsed = RenderOptions::parse(arguments);
    if (const auto *error = std::get_if<RenderUsageError>(&parsed))
        return error->message;
    if (std::holds_alternative<RenderHelpRequest>(parsed))
        return "help";
    const RenderOptions &job = std::get<RenderOptions>(parsed);
    const char *const formats[] = {"bmp", "png", "svg", "json", "zbk"};
    return QString("%1 -> %2 as %3, scale %4, rotation %5, pen %6, zoom %7")
        .arg(job.posePath, job.outputPath, QString(formats[int(job.format)]))
        .arg(job.scale, 0, 'g', 17)
        .arg(job.rotation, 0, 'g', 17)
        .arg(job.penWidth)
        .arg(job.zoom);
}

} // namespace

class TestRenderOptions : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome");

        QTest::newRow("upper-case extension, dot in the folder")
            << QStringList{"p.zbk", "dir.x/OUT.BMP"}
            << "p.zbk -> dir.x/OUT.BMP as bmp, scale 1, rotation 0, pen 2, zoom 1";
        QTest::newRow("options after operands, format over the extension")
            << QStringList{"p.zbk", "o.png", "--format", "JSON", "--pen", "7", "--zoom", "8"}
            << "p.zbk -> o.png as json, scale 1, rotation 0, pen 7, zoom 8";
        QTest::newRow("equals form, sign and exponent, degrees over 57.3")
            << QStringList{"--scale=+15e-1", "--rotate=-90", "--pen=1", "--zoom=3", "p", "o.svg"}
            << "p -> o.svg as svg, scale 1.5, rotation -1.5706806282722514, pen 1, zoom 3";
        QTest::newRow("double dash ends options")
            << QStringList{"--", "--help", "-o.png"} << "--help -> -o.png as png, scale 1, rotation 0, pen 2, zoom 1";
        QTest::newRow("help before an error") << QStringList{"-h", "--zoom", "99"} << "help";

        QTest::newRow("three operands") << QStringList{"p.zbk", "o.png", "x.png"} << "too many arguments";
        QTest::newRow("start-up pose and a pose file")
            << QStringList{"--default", "p.zbk", "o.png"} << "too many arguments: --default takes only the output";
        QTest::newRow("only a pose") << QStringList{"p.zbk"} << "missing the output";
        QTest::newRow("start-up pose without output") << QStringList{"--default"} << "missing the output";
        QTest::newRow("standard output without format")
            << QStringList{"p.zbk", "-"} << "writing to standard output needs --format";
        QTest::newRow("unknown format") << QStringList{"--format", "gif", "p.zbk", "o.png"}
                                        << "--format must be one of bmp, png, svg, json and zbk, not \"gif\"";
        const auto refused = [](const char *option, const char *value, const char *expected) {
            QTest::addRow("%s \"%s\"", option, value)
                << QStringList{QString(option) + "=" + value, "p", "o.png"}
                << QString("%1 must be %2, not \"%3\"").arg(option, expected, value);
        };
        for (const char *value : {"0", "1.5", "", " 2"})
            refused("--zoom", value, "a whole number from 1 to 8");
        for (const char *value : {"8", "99999999999"})
            refused("--pen", value, "a whole number from 1 to 7");
        for (const char *value : {"nan", "inf", "1e999", "0x10", "", "2 "})
            refused("--scale", value, "a finite number");
        for (const char *value : {"NaN", "-1e400", "90deg"})
            refused("--rotate", value, "a finite number of degrees");
        QTest::newRow("missing value") << QStringList{"p.zbk", "o.png", "--scale"} << "--scale needs a value";
        QTest::newRow("unknown option") << QStringList{"--colour", "red", "p", "o.png"} << "unknown option --colour";
        QTest::newRow("value for a flag") << QStringList{"--default=yes", "o.png"} << "--default takes no value";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QTEST(outcome(arguments), "outcome");
    }
};

QTEST_GUILESS_MAIN(TestRenderOptions)
#include "tst_render_options.moc"
