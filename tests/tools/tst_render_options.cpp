// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_options.h"

#include <QTest>

using namespace zelbrook;

namespace {

// What the arguments ask for, in one line: the usage error's message,
// "help", or the pose, the output, the format and the numbers of the job.
// The arguments as the bytes a program receives them.
std::vector<std::string> bytesOf(const QStringList &arguments)
{
    std::vector<std::string> bytes;
    for (const QString &argument : arguments)
        bytes.push_back(argument.toStdString());
    return bytes;
}

// A batch in one line: the folder, the poses, the list and the flags.
QString batchOutcome(const RenderOptions &job)
{
    const RenderBatch &batch = *job.batch;
    QStringList poses;
    for (const std::string &pose : batch.poses)
        poses << QString::fromStdString(pose);
    return QString("[%1] -> %2/ as %3, list %4, default %5, jobs %6, quiet %7, pen %8")
        .arg(poses.join(' '), QString::fromStdString(batch.outputDir),
             QString::fromUtf8(RenderOptions::extension(job.format)),
             batch.listPath ? QString::fromStdString(*batch.listPath) : "none")
        .arg(batch.startPose)
        .arg(batch.jobs)
        .arg(batch.quiet)
        .arg(job.penWidth);
}

QString outcome(const std::vector<std::string> &arguments)
{
    const ParsedRenderArguments parsed = RenderOptions::parse(arguments);
    if (const auto *error = std::get_if<RenderUsageError>(&parsed))
        return QString::fromStdString(error->message);
    if (std::holds_alternative<RenderHelpRequest>(parsed))
        return "help";
    if (std::holds_alternative<RenderVersionRequest>(parsed))
        return "version";
    const RenderOptions &job = std::get<RenderOptions>(parsed);
    if (job.batch)
        return batchOutcome(job);
    QString animation = job.fps ? QString(", fps %1").arg(*job.fps) : QString();
    animation += job.columns ? QString(", columns %1").arg(*job.columns) : QString();
    animation += job.padding ? QString(", padding %1").arg(*job.padding) : QString();
    animation += job.extrude ? QString(", extrude %1").arg(*job.extrude) : QString();
    animation += job.key ? QString(", key %1").arg(*job.key) : QString();
    animation +=
        QString(job.transparent ? ", transparent" : "") + (job.trim ? ", trim" : "") + (job.atlas ? ", atlas" : "");
    return QString("%1 -> %2 as %3, scale %4, rotation %5, pen %6, zoom %7%8%9")
        .arg(QString::fromStdString(job.posePath), QString::fromStdString(job.outputPath),
             QString::fromUtf8(RenderOptions::extension(job.format)))
        .arg(job.scale, 0, 'g', 17)
        .arg(job.rotation, 0, 'g', 17)
        .arg(job.penWidth)
        .arg(job.zoom)
        .arg(job.size ? QString(", size %1").arg(*job.size) : QString(), animation);
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
        QTest::newRow("version") << QStringList{"p.zbk", "--version"} << "version";
        QTest::newRow("one sign, then an exponent with its own")
            << QStringList{"--scale", "+3e-1", "--rotate", "-57.3", "p", "o.png"}
            << "p -> o.png as png, scale 0.29999999999999999, rotation -1, pen 2, zoom 1";
        QTest::newRow("whole numbers with a plus sign") << QStringList{"--pen", "+3", "--zoom=+2", "p", "o.png"}
                                                        << "p -> o.png as png, scale 1, rotation 0, pen 3, zoom 2";
        QTest::newRow("hidden file's name is its extension")
            << QStringList{"p", "dir/.zbk"} << "p -> dir/.zbk as zbk, scale 1, rotation 0, pen 2, zoom 1";

        QTest::newRow("many poses, options anywhere")
            << QStringList{"a.zbk", "--output-dir", "out", "--format", "svg", "b.zbk", "--jobs=3", "--pen", "4"}
            << "[a.zbk b.zbk] -> out/ as svg, list none, default 0, jobs 3, quiet 0, pen 4";
        QTest::newRow("a list, the start-up pose, quiet, no pose")
            << QStringList{"--output-dir=o", "--format=png", "--list", "-", "--default", "--quiet", "--jobs", "256"}
            << "[] -> o/ as png, list -, default 1, jobs 256, quiet 1, pen 2";
        QTest::newRow("double dash keeps a pose named like an option")
            << QStringList{"--output-dir", "o", "--format", "json", "--", "--quiet"}
            << "[--quiet] -> o/ as json, list none, default 0, jobs 0, quiet 0, pen 2";
        QTest::newRow("output folder without format")
            << QStringList{"--output-dir", "o", "p.zbk"} << "--output-dir needs --format";
        QTest::newRow("output folder without poses")
            << QStringList{"--output-dir", "o", "--format", "png"} << "missing the pose files";
        QTest::newRow("standard input among many poses")
            << QStringList{"--output-dir", "o", "--format", "png", "a.zbk", "-"}
            << "- (standard input) cannot be a pose with --output-dir";
        QTest::newRow("empty pose among many")
            << QStringList{"--output-dir", "o", "--format", "png", ""} << "a pose file's name is empty";
        QTest::newRow("empty output folder")
            << QStringList{"--output-dir=", "--format", "png", "p"} << "the output folder's name is empty";
        QTest::newRow("empty list name") << QStringList{"--list", "", "p", "o.png"} << "the list file's name is empty";
        QTest::newRow("jobs without an output folder")
            << QStringList{"--jobs", "2", "p", "o.png"} << "--jobs needs --output-dir";
        QTest::newRow("list without an output folder")
            << QStringList{"--list", "l", "o.png"} << "--list needs --output-dir";
        QTest::newRow("quiet without an output folder")
            << QStringList{"p", "o.png", "--quiet"} << "--quiet needs --output-dir";
        QTest::newRow("empty output") << QStringList{"--default", ""} << "the output's name is empty";
        QTest::newRow("empty pose") << QStringList{"", "o.png"} << "the pose file's name is empty";

        QTest::newRow("three operands") << QStringList{"p.zbk", "o.png", "x.png"} << "too many arguments";
        QTest::newRow("start-up pose and a pose file")
            << QStringList{"--default", "p.zbk", "o.png"} << "too many arguments: --default takes only the output";
        QTest::newRow("only a pose") << QStringList{"p.zbk"} << "missing the output";
        QTest::newRow("start-up pose without output") << QStringList{"--default"} << "missing the output";
        QTest::newRow("standard output without format")
            << QStringList{"p.zbk", "-"} << "writing to standard output needs --format";
        QTest::newRow("unknown format") << QStringList{"--format", "tiff", "p.zbk", "o.png"}
                                        << "--format must be one of bmp, png, svg, json, zbk, gif, apng, webp, mp4, "
                                           "webm, sheet, lottie and zba, not \"tiff\"";
        QTest::newRow("animated formats by extension, rate, key and columns")
            << QStringList{"--fps", "50", "w.zba", "o.APNG"}
            << "w.zba -> o.APNG as apng, scale 1, rotation 0, pen 2, "
               "zoom 1, fps 50";
        QTest::newRow("a sheet is a png") << QStringList{"--format", "sheet", "--columns", "3", "w.zba", "o.png"}
                                          << "w.zba -> o.png as png, scale 1, rotation 0, pen 2, zoom 1, columns 3";
        QTest::newRow("lottie by its two extensions, in any case")
            << QStringList{"--transparent", "--trim", "--zoom", "3", "w.zba", "o.Lottie.JSON"}
            << "w.zba -> o.Lottie.JSON as lottie.json, scale 1, rotation 0, pen 2, zoom 3, transparent, trim";
        QTest::newRow("json named lottie") << QStringList{"w.zba", "lottie.json"}
                                           << "w.zba -> lottie.json as json, scale 1, rotation 0, pen 2, zoom 1";
        QTest::newRow("lottie to standard output") << QStringList{"--format", "LOTTIE", "w.zba", "-"}
                                                   << "w.zba -> - as lottie.json, scale 1, rotation 0, pen 2, zoom 1";
        QTest::newRow("a key") << QStringList{"--key", "2", "w.zba", "o.svg"}
                               << "w.zba -> o.svg as svg, scale 1, rotation 0, pen 2, zoom 1, key 2";
        QTest::newRow("fps 0") << QStringList{"--fps", "0", "w.zba", "o.gif"}
                               << "--fps must be a whole number from 1 to 60, not \"0\"";
        QTest::newRow("gif too fast") << QStringList{
            "--fps", "51", "w.zba",
            "o.gif"} << "A GIF cannot play more than 50 frames a second; apng, webp, mp4 and webm can.";
        QTest::newRow("key of a gif") << QStringList{"--key", "1", "w.zba", "o.gif"}
                                      << "--key picks one key for bmp, png, svg, json and zbk, not gif";
        QTest::newRow("padding and extrusion, largest")
            << QStringList{"--format", "sheet", "--padding", "64", "--extrude=8", "w.zba", "o.png"}
            << "w.zba -> o.png as png, scale 1, rotation 0, pen 2, zoom 1, padding 64, extrude 8";
        QTest::newRow("padding of a gif")
            << QStringList{"--padding", "2", "w.zba", "o.gif"} << "--padding is only for sheet, not gif";
        QTest::newRow("extrusion of a lottie")
            << QStringList{"--extrude", "1", "w.zba", "o.lottie.json"} << "--extrude is only for sheet, not lottie";
        QTest::newRow("zoom 9 of a video")
            << QStringList{"--zoom", "9", "w.zba", "o.webm"} << "--zoom must be a whole number from 1 to 8, not \"9\"";
        QTest::newRow("columns of a gif")
            << QStringList{"--columns", "2", "w.zba", "o.gif"} << "--columns is only for sheet, not gif";
        QTest::newRow("video to standard output")
            << QStringList{"--format", "webm", "w.zba", "-"} << "webm video cannot be written to standard output";
        const auto refused = [](const char *option, const char *value, const char *expected) {
            QTest::addRow("%s \"%s\"", option, value)
                << QStringList{QString(option) + "=" + value, "p", "o.png"}
                << QString("%1 must be %2, not \"%3\"").arg(option, expected, value);
        };
        for (const char *value : {"0", "1.5", "", " 2"})
            refused("--zoom", value, "a whole number from 1 to 8");
        for (const char *value : {"8", "99999999999"})
            refused("--pen", value, "a whole number from 1 to 7");
        for (const char *value : {"-1", "65"})
            refused("--padding", value, "a whole number from 0 to 64");
        for (const char *value : {"9", "1.5"})
            refused("--extrude", value, "a whole number from 0 to 8");
        for (const char *value : {"nan", "inf", "1e999", "0x10", "", "2 ", "+-5", "++5", "-+5", "--5", "+", "1e+-3"})
            refused("--scale", value, "a finite number");
        for (const char *value : {"NaN", "-1e400", "90deg", "+-90"})
            refused("--rotate", value, "a finite number of degrees");
        for (const char *value : {"0", "x", "257", "-1", "", "+-4", "++4", "+"})
            refused("--jobs", value, "a whole number from 1 to 256");
        for (const char *value : {"15", "3945", "1e2", "128.0"})
            refused("--size", value, "a whole number from 16 to 3944");
        QTest::newRow("size, smallest and largest")
            << QStringList{"--size", "16", "--size=3944", "--format", "bmp", "p", "-"}
            << "p -> - as bmp, scale 1, rotation 0, pen 2, zoom 1, size 3944";
        QTest::newRow("size with a zoom, even of 1")
            << QStringList{"--zoom=1", "--size", "128", "p", "o.png"} << "--size and --zoom cannot be given together";
        for (const char *output : {"o.svg", "o.json", "o.zbk"})
            QTest::addRow("size for %s", output)
                << QStringList{"--size", "128", "p", output}
                << QString("--size is only for bmp and png pictures, not %1").arg(QString(output).section('.', 1));
        QTest::newRow("a sheet for games")
            << QStringList{"--transparent", "--trim", "--atlas", "w.zba", "--format=sheet", "o.png"}
            << "w.zba -> o.png as png, scale 1, rotation 0, pen 2, zoom 1, transparent, trim, atlas";
        for (const char *format : {"bmp", "mp4", "webm", "json", "zbk", "zba"})
            QTest::addRow("transparent %s", format)
                << QStringList{"--transparent", "w.zba", QString("o.") + format}
                << QString("--transparent is only for png, svg, gif, apng, webp, sheet and lottie, not %1").arg(format);
        for (const char *format : {"mp4", "webm", "json"})
            QTest::addRow("trim %s", format)
                << QStringList{"--trim", "w.zba", QString("o.") + format}
                << QString("--trim is only for bmp, png, svg, gif, apng, webp, sheet and lottie, not %1").arg(format);
        QTest::newRow("atlas of a gif") << QStringList{"--atlas", "w.zba", "o.gif"}
                                        << "--atlas is only for sheet, not gif";
        QTest::newRow("atlas beside standard output")
            << QStringList{"--atlas", "--format", "sheet", "w.zba", "-"}
            << "--atlas writes NAME.json beside the sheet, so the sheet cannot go to standard output";
        QTest::newRow("trim with a size") << QStringList{"--trim", "--size", "64", "p", "o.png"}
                                          << "--size cannot be given with --transparent or --trim";
        QTest::newRow("missing value") << QStringList{"p.zbk", "o.png", "--scale"} << "--scale needs a value";
        QTest::newRow("unknown option") << QStringList{"--colour", "red", "p", "o.png"} << "unknown option --colour";
        QTest::newRow("value for a flag") << QStringList{"--default=yes", "o.png"} << "--default takes no value";
    }

    void parse()
    {
        QFETCH(QStringList, arguments);
        QTEST(outcome(bytesOf(arguments)), "outcome");
    }

    void usage_data()
    {
        QTest::addColumn<QString>("option");
        for (const char *option : {"--default", "--format FORMAT", "--scale S", "--rotate DEGREES", "--pen PIXELS",
                                   "--zoom N", "--size N", "--help", "--version", "--output-dir DIR", "--list FILE",
                                   "--jobs N", "--quiet", "--transparent", "--trim", "--atlas"})
            QTest::newRow(option) << QString(option);
    }

    // The manual page is made from the usage, so every option has a line
    // of its own there, and each accepted option parses.
    void usage()
    {
        QFETCH(QString, option);
        const QString usage = QString::fromStdString(RenderOptions::usage());
        QVERIFY2(usage.contains("\n  " + option + "  "), qPrintable(option));
        const QString name = option.section(' ', 0, 0);
        const ParsedRenderArguments parsed = RenderOptions::parse(bytesOf({name}));
        const auto *error = std::get_if<RenderUsageError>(&parsed);
        QVERIFY(!error || !QString::fromStdString(error->message).startsWith("unknown option"));
    }

    // Names are the bytes given; only the message escapes them.
    void undecodableName()
    {
        const ParsedRenderArguments parsed = RenderOptions::parse({"p\xfe.zbk", "o\xff.png"});
        const auto *job = std::get_if<RenderOptions>(&parsed);
        QVERIFY(job);
        QCOMPARE(job->posePath, std::string("p\xfe.zbk"));
        QCOMPARE(job->outputPath, std::string("o\xff.png"));
        QCOMPARE(outcome({"p", "o\xff.tif"}),
                 QString("cannot tell the format of \"o\\xff.tif\" from its extension; give --format"));
    }
};

QTEST_GUILESS_MAIN(TestRenderOptions)
#include "tst_render_options.moc"
