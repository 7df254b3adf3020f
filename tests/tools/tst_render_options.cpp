#include "tools/render_options.h"

#include <QTest>

using namespace zelbrook;
using Format = RenderOptions::Format;
using PoseSource = RenderOptions::PoseSource;
using OutputTarget = RenderOptions::OutputTarget;

class TestRenderOptions : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<PoseSource>("poseSource");
        QTest::addColumn<QString>("posePath");
        QTest::addColumn<OutputTarget>("outputTarget");
        QTest::addColumn<QString>("outputPath");
        QTest::addColumn<Format>("format");
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("rotation");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("zoom");

        const auto file = PoseSource::File;
        const auto toFile = OutputTarget::File;
        QTest::newRow("png by extension") << QStringList{"pose.zbk", "out.png"} << file << "pose.zbk" << toFile
                                          << "out.png" << Format::Png << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("upper-case extension") << QStringList{"p.zbk", "dir.x/OUT.BMP"} << file << "p.zbk" << toFile
                                              << "dir.x/OUT.BMP" << Format::Bmp << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("svg") << QStringList{"p.zbk", "o.svg"} << file << "p.zbk" << toFile << "o.svg" << Format::Svg
                             << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("json") << QStringList{"p.zbk", "o.json"} << file << "p.zbk" << toFile << "o.json"
                              << Format::Json << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("zbk") << QStringList{"p.zbk", "o.zbk"} << file << "p.zbk" << toFile << "o.zbk" << Format::Zbk
                             << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("format overrides extension")
            << QStringList{"--format", "JSON", "p.zbk", "o.png"} << file << "p.zbk" << toFile << "o.png"
            << Format::Json << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("standard streams") << QStringList{"-", "-", "--format", "svg"} << PoseSource::StandardInput
                                          << "-" << OutputTarget::StandardOutput << "-" << Format::Svg << 1.0 << 0.0
                                          << 2 << 1;
        QTest::newRow("start-up pose") << QStringList{"--default", "o.png"} << PoseSource::Defaults << "" << toFile
                                       << "o.png" << Format::Png << 1.0 << 0.0 << 2 << 1;
        QTest::newRow("options after operands")
            << QStringList{"p.zbk", "o.png", "--pen", "7", "--zoom", "8"} << file << "p.zbk" << toFile << "o.png"
            << Format::Png << 1.0 << 0.0 << 7 << 8;
        QTest::newRow("equals form") << QStringList{"--scale=2.5", "--rotate=-90", "--pen=1", "--zoom=3", "p", "o.png"}
                                     << file << "p" << toFile << "o.png" << Format::Png << 2.5 << -90 / 57.3 << 1
                                     << 3;
        QTest::newRow("degrees over 57.3") << QStringList{"--rotate", "180", "p", "o.png"} << file << "p" << toFile
                                           << "o.png" << Format::Png << 1.0 << 3.1413612565445026 << 2 << 1;
        QTest::newRow("sign and exponent") << QStringList{"--scale", "+15e-1", "--rotate", "-0", "p", "o.png"} << file
                                           << "p" << toFile << "o.png" << Format::Png << 1.5 << 0.0 << 2 << 1;
        QTest::newRow("negative scale") << QStringList{"--scale", "-0.5", "p", "o.png"} << file << "p" << toFile
                                        << "o.png" << Format::Png << -0.5 << 0.0 << 2 << 1;
        QTest::newRow("last repeat wins") << QStringList{"--pen", "3", "--pen", "4", "p", "o.png"} << file << "p"
                                          << toFile << "o.png" << Format::Png << 1.0 << 0.0 << 4 << 1;
        QTest::newRow("double dash ends options")
            << QStringList{"--", "--help", "-o.png"} << file << "--help" << toFile << "-o.png" << Format::Png << 1.0
            << 0.0 << 2 << 1;
    }

    void accepted()
    {
        QFETCH(QStringList, arguments);
        const ParsedRenderArguments parsed = RenderOptions::parse(arguments);
        const auto *error = std::get_if<RenderUsageError>(&parsed);
        QVERIFY2(!error, error ? qPrintable(error->message) : "");
        QVERIFY(std::holds_alternative<RenderOptions>(parsed));
        const RenderOptions options = std::get<RenderOptions>(parsed);
        QTEST(options.poseSource, "poseSource");
        QTEST(options.posePath, "posePath");
        QTEST(options.outputTarget, "outputTarget");
        QTEST(options.outputPath, "outputPath");
        QTEST(options.format, "format");
        QTEST(options.scale, "scale");
        QTEST(options.rotation, "rotation");
        QTEST(options.penWidth, "pen");
        QTEST(options.zoom, "zoom");
    }

    void refused_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");

        QTest::newRow("nothing") << QStringList{} << "missing the pose file and the output";
        QTest::newRow("only a pose") << QStringList{"p.zbk"} << "missing the output";
        QTest::newRow("start-up pose without output") << QStringList{"--default"} << "missing the output";
        QTest::newRow("three operands") << QStringList{"p.zbk", "o.png", "x.png"} << "too many arguments";
        QTest::newRow("start-up pose and a pose file")
            << QStringList{"--default", "p.zbk", "o.png"} << "too many arguments: --default takes only the output";
        QTest::newRow("unknown extension") << QStringList{"p.zbk", "o.gif"}
                                           << "cannot tell the format of \"o.gif\" from its extension; give --format";
        QTest::newRow("no extension") << QStringList{"p.zbk", "out.d/o"}
                                      << "cannot tell the format of \"out.d/o\" from its extension; give --format";
        QTest::newRow("standard output without format")
            << QStringList{"p.zbk", "-"} << "writing to standard output needs --format";
        QTest::newRow("unknown format") << QStringList{"--format", "gif", "p.zbk", "o.png"}
                                        << "--format must be one of bmp, png, svg, json and zbk, not \"gif\"";
        const QString zoom = "--zoom must be a whole number from 1 to 8, not \"%1\"";
        for (const char *value : {"0", "9", "-1", "1.5", "two", "", " 2"})
            QTest::addRow("zoom \"%s\"", value) << QStringList{"--zoom=" + QString(value), "p", "o.png"}
                                                << zoom.arg(value);
        const QString pen = "--pen must be a whole number from 1 to 7, not \"%1\"";
        for (const char *value : {"0", "8", "2.5", "99999999999"})
            QTest::addRow("pen \"%s\"", value) << QStringList{"--pen", value, "p", "o.png"} << pen.arg(value);
        const QString scale = "--scale must be a finite number, not \"%1\"";
        for (const char *value : {"nan", "inf", "-infinity", "1e999", "1,5", "0x10", "", "2 "})
            QTest::addRow("scale \"%s\"", value) << QStringList{"--scale", value, "p", "o.png"} << scale.arg(value);
        const QString rotate = "--rotate must be a finite number of degrees, not \"%1\"";
        for (const char *value : {"NaN", "-1e400", "90deg"})
            QTest::addRow("rotate \"%s\"", value) << QStringList{"--rotate", value, "p", "o.png"} << rotate.arg(value);
        QTest::newRow("missing value") << QStringList{"p.zbk", "o.png", "--scale"} << "--scale needs a value";
        QTest::newRow("unknown option") << QStringList{"--colour", "red", "p", "o.png"} << "unknown option --colour";
        QTest::newRow("unknown short option") << QStringList{"-x", "p", "o.png"} << "unknown option -x";
        QTest::newRow("value for a flag") << QStringList{"--default=yes", "o.png"} << "--default takes no value";
    }

    void refused()
    {
        QFETCH(QStringList, arguments);
        const ParsedRenderArguments parsed = RenderOptions::parse(arguments);
        QVERIFY(std::holds_alternative<RenderUsageError>(parsed));
        QTEST(std::get<RenderUsageError>(parsed).message, "message");
    }

    void help_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("alone") << QStringList{"--help"};
        QTest::newRow("short") << QStringList{"p.zbk", "o.png", "-h"};
        QTest::newRow("before an error") << QStringList{"--help", "--zoom", "99"};
    }

    void help()
    {
        QFETCH(QStringList, arguments);
        QVERIFY(std::holds_alternative<RenderHelpRequest>(RenderOptions::parse(arguments)));
    }
};

QTEST_GUILESS_MAIN(TestRenderOptions)
#include "tst_render_options.moc"
