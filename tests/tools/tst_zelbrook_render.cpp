// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/pose_field.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"
#include "render/draw_figure.h"
#include "render/head_outline.h"
#include "render/joints.h"
#include "tools/render_process.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cmath>

using namespace zelbrook;

namespace {

Pose startPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

// A pose no slider gives, so the file's values must be drawn unrounded.
Pose filePose(double scale = 1.0, double degrees = 0.0)
{
    Pose pose = startPose();
    pose.bodyAngle = 1.2345;
    pose.legLength1 = 61.5;
    pose.headWidth = 1.25;
    pose.scale = scale;
    pose.rotation = degrees / 57.3;
    return pose;
}

QByteArray fileText(const Pose &pose) { return QByteArray::fromStdString(writePoseFile(pose)); }

// JSON has no infinity or NaN; a coordinate that is not finite is null.
bool samePoint(const QJsonValue &value, Point expected)
{
    const QJsonArray pair = value.toArray();
    const auto same = [](const QJsonValue &v, double x) { return std::isfinite(x) ? v.toDouble() == x : v.isNull(); };
    return pair.size() == 2 && same(pair[0], expected.x) && same(pair[1], expected.y);
}

} // namespace

class TestZelbrookRender : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    QByteArray readFile(const QString &name) const
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Every file under the test's folder with its content.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> files;
        for (QDirIterator it(m_dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString name = QDir(m_dir.path()).relativeFilePath(it.next());
            files[name] = readFile(name);
        }
        return files;
    }

    RenderRun render(const QStringList &arguments, const QByteArray &input = {}, const QString &outputFile = {}) const
    {
        return runRender(m_dir.path(), arguments, input, outputFile);
    }

private slots:
    void cleanup() { QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.path())); }

    void json_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<Pose>("pose");

        QTest::newRow("file values unrounded") << QStringList{"--scale", "1.5", "--rotate", "30"} << filePose(1.5, 30);
        QTest::newRow("overflowing scale") << QStringList{"--scale", "1e308"} << filePose(1e308);
    }

    // The data is the program's own arithmetic, to the last bit.
    void json()
    {
        QFETCH(QStringList, options);
        QFETCH(Pose, pose);

        writeFile("pose.zbk", fileText(filePose()));
        const RenderRun run = render(options + QStringList{"--pen", "6", "pose.zbk", "figure.json"});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(readFile("figure.json")).object();
        for (const PoseField *field : fileFields())
            QCOMPARE(json["pose"][QString::fromUtf8(field->name)].toDouble(), field->value(Figure{pose}));
        const Joints joints = ComputeJoints(pose);
        const QJsonObject points = json["joints"].toObject();
        for (const auto &[name, joint] : {std::pair{"hip", Point{pose.hipX, pose.hipY}},
                                          {"neck", joints.neck},
                                          {"headCentre", joints.headCentre},
                                          {"lKnee", joints.lKnee},
                                          {"lFoot", joints.lFoot},
                                          {"rKnee", joints.rKnee},
                                          {"rFoot", joints.rFoot},
                                          {"shoulder", joints.shoulder},
                                          {"lElbow", joints.lElbow},
                                          {"lHand", joints.lHand},
                                          {"rElbow", joints.rElbow},
                                          {"rHand", joints.rHand}})
            QVERIFY2(samePoint(points[name], joint), name);
        const HeadOutline head = ComputeHeadOutline(pose, joints.headCentre);
        const QJsonArray pairs = json["head"].toArray();
        QCOMPARE(pairs.size(), kHeadSteps);
        for (int t = 0; t < kHeadSteps; ++t)
            QVERIFY(samePoint(pairs[t][0], head[t].first) && samePoint(pairs[t][1], head[t].opposite));
    }

    void pictures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("size");

        QTest::newRow("bmp, start-up pose")
            << QStringList{"--default", "out.bmp"} << startPose() << 2 << 1 << QSize(493, 397);
        QTest::newRow("png, file, pen 5, scaled and turned")
            << QStringList{"--pen", "5", "--scale", "1.5", "--rotate", "-30", "pose.zbk", "out.png"}
            << filePose(1.5, -30) << 5 << 1 << QSize(493, 397);
        QTest::newRow("png, standard input to standard output, zoom 2")
            << QStringList{"--zoom=2", "--pen=7", "--format", "png", "-", "-"} << filePose() << 7 << 2
            << QSize(986, 794);
        QTest::newRow("png, start-up pose")
            << QStringList{"--default", "out.png"} << startPose() << 2 << 1 << QSize(493, 397);
        QTest::newRow("png, start-up pose, zoom 3, pen 7")
            << QStringList{"--default", "--zoom", "3", "--pen", "7", "out.png"} << startPose() << 7 << 3
            << QSize(1479, 1191);
        QTest::newRow("png, the longest name, numbers with a plus")
            << QStringList{"--default", "--pen", "+3", "--zoom", "+2", QString(251, 'x') + ".png"} << startPose() << 3
            << 2 << QSize(986, 794);
    }

    // The editor's bitmap export is the raster canvas's image after DrawMan.
    void pictures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(Pose, pose);
        QFETCH(int, pen);
        QFETCH(int, zoom);

        writeFile("pose.zbk", fileText(filePose()));
        const RenderRun run = render(arguments, fileText(filePose()));
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage image = QImage::fromData(arguments.last() == "-" ? run.out : readFile(arguments.last()));
        QTEST(image.size(), "size");
        RasterCanvas canvas(zoom);
        canvas.setDrawWidth(pen);
        drawFigure(pose, canvas, kProgramCaption);
        QVERIFY(image.convertToFormat(QImage::Format_RGB32) == canvas.Image().convertToFormat(QImage::Format_RGB32));
    }

    void svg()
    {
        QCOMPARE(render({"--default", "figure.svg"}).exitCode, 0);
        const QByteArray text = readFile("figure.svg");
        QXmlStreamReader reader(text);
        while (!reader.atEnd())
            reader.readNext();
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(text.count("<line "), 9);
        QCOMPARE(text.count("<circle "), 362);
        QVERIFY(text.contains(">made with Zelbrook v0.1 by Quillfen</text>"));
    }

    // The copy is what the editor's save writes; scale and rotation are not
    // part of a pose file.
    void zbk()
    {
        writeFile("pose.zbk", fileText(filePose()));
        const RenderRun run = render({"--scale", "3", "--rotate", "90", "pose.zbk", "copy.zbk"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(readFile("copy.zbk"), fileText(filePose()));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("poseText");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("outputFile");
        const QByteArray good = fileText(startPose()), tooLarge = good + QByteArray(1024 * 1024, ' ');
        const auto row = [&](const char *name, const QStringList &arguments, int exitCode, const QString &message,
                             const QByteArray &poseText = {}, const QByteArray &input = {}, const QString &out = {}) {
            QTest::newRow(name) << arguments << exitCode << message << (poseText.isNull() ? good : poseText) << input
                                << out;
        };

        const QStringList toPng{"pose.zbk", "out.png"}, fromInput{"-", "out.png"};
        row("wrong tag", toPng, 1, "pose.zbk: Wrong file type\n", QByteArray(good).replace("10135", "10134"));
        row("missing file", {"missing.zbk", "out.png"}, 1, "missing.zbk: The file does not exist.\n");
        row("file too large", toPng, 1, "pose.zbk: The file is larger than 1048576 bytes.\n", tooLarge);
        row("standard input too large", fromInput, 1, "standard input: It is larger than 1048576 bytes.\n", {},
            tooLarge);
        row("standard input empty", fromInput, 1, "standard input: the file ends before item 1 (the file type tag)\n");
        row("missing folder", {"--default", "nowhere/out.png"}, 1, "nowhere/out.png: The folder does not exist.\n");
        row("path through a file", {"--default", "out.png/x.png"}, 1,
            "out.png/x.png: Part of the path is a file, not a folder.\n");
        // A full disk is a failure, not a silent success.
        row("full standard output", {"--default", "--format", "png", "-"}, 1,
            "standard output: It could not be written: ", {}, {}, "/dev/full");
        const QString usage = "\nTry 'zelbrook-render --help' for more information.\n";
        row("unknown extension", {"--default", "out.tiff"}, 2,
            "cannot tell the format of \"out.tiff\" from its extension; give --format" + usage);
        row("no arguments", {}, 2, "missing the pose file and the output" + usage);
        row("empty output name", {"--default", "--format", "png", ""}, 2, "the output's name is empty" + usage);
        row("two signs", {"--scale", "+-5", "--default", "out.png"}, 2,
            "--scale must be a finite number, not \"+-5\"" + usage);
        row("unknown option", {"--colour", "red", "--default", "out.png"}, 2, "unknown option --colour" + usage);
        row("missing value", {"--default", "out.png", "--pen"}, 2, "--pen needs a value" + usage);
        row("too many names", toPng + QStringList{"extra.png"}, 2, "too many arguments" + usage);
        row("a figure the start-up pose has not", {"--figure", "2", "--default", "o.zbk"}, 2,
            "--default: key 1 holds no figure 2; its figures are 1" + usage);
    }

    // Nothing is written on a failure: every file stays as it was, and no
    // temporary file is left behind. A whole message is the whole of
    // standard error: a usage error is one line and a pointer to --help.
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QFETCH(QByteArray, poseText);
        QFETCH(QByteArray, input);
        QFETCH(QString, outputFile);

        writeFile("pose.zbk", poseText);
        writeFile("out.png", "old content, not to be lost\n");
        const QMap<QString, QByteArray> before = snapshot();
        const RenderRun run = render(arguments, input, outputFile);
        QTEST(run.exitCode, "exitCode");
        if (message.endsWith('\n'))
            QCOMPARE(run.err, ("zelbrook-render: " + message).toUtf8());
        else
            QVERIFY2(run.err.startsWith(("zelbrook-render: " + message).toUtf8()), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(snapshot(), before);
    }

    void information_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QByteArray>("start"); // of standard output

        QTest::newRow("help") << "--help" << QByteArray("Usage: zelbrook-render [options] POSE OUTPUT\n");
        QTest::newRow("version") << "--version" << QByteArray("zelbrook-render 0.1\n");
    }

    void information()
    {
        QFETCH(QString, option);
        const RenderRun run = render({option});
        QCOMPARE(run.exitCode, 0);
        QFETCH(QByteArray, start);
        QVERIFY2(run.out.startsWith(start), run.out.constData());
        QCOMPARE(run.err, QByteArray());
    }
};

QTEST_MAIN(TestZelbrookRender)
#include "tst_zelbrook_render.moc"
