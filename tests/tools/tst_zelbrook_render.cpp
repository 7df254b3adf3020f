#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "posefile/pose_file_field.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"
#include "render/draw_man.h"
#include "render/head_outline.h"
#include "render/joints.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <unistd.h>

using namespace zelbrook;

namespace {

constexpr qint64 kLimit = 1024 * 1024;
const QByteArray kOldContent = "old content, not to be lost\n";

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Pose startPose() { return Pose::defaults(RasterCanvas::kWindowUnitWidth); }

// A pose no slider gives: the file's values must be drawn unrounded.
Pose filePose()
{
    Pose pose = startPose();
    pose.bodyAngle = 1.2345;
    pose.legLength1 = 61.5;
    pose.lArmAngle1 = 0.5;
    pose.headRadius = 95;
    pose.headWidth = 1.25;
    return pose;
}

Pose placed(Pose pose, double scale, double degrees)
{
    pose.scale = scale;
    pose.rotation = degrees / 57.3;
    return pose;
}

QByteArray fileText(const Pose &pose) { return QByteArray::fromStdString(writePoseFile(pose)); }

QImage picture(const Pose &pose, int pen, int zoom)
{
    RasterCanvas canvas(zoom);
    canvas.setDrawWidth(pen);
    DrawMan(pose, canvas, kProgramCaption);
    return canvas.Image().convertToFormat(QImage::Format_RGB32);
}

bool samePoint(const QJsonValue &value, Point expected)
{
    const QJsonArray pair = value.toArray();
    return pair.size() == 2 && pair[0].toDouble() == expected.x && pair[1].toDouble() == expected.y;
}

} // namespace

class TestZelbrookRender : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QByteArray readFile(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs the program in the test's folder with no display and no Qt
    // platform in its environment.
    Run render(const QStringList &arguments, const QByteArray &input = {}) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR"})
            environment.remove(name);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(m_dir.path());
        process.start(ZELBROOK_RENDER_PROGRAM, arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void cleanup()
    {
        QDir dir(m_dir.path());
        dir.removeRecursively();
        dir.mkpath(".");
    }

    void json_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("poseText");
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<int>("pen");
        QTest::newRow("start-up pose") << QStringList{"--default", "-", "--format", "json"} << QByteArray()
                                       << startPose() << 2;
        QTest::newRow("file values unrounded")
            << QStringList{"--pen", "6", "--scale", "1.5", "--rotate", "30", "pose.zbk", "figure.json"}
            << fileText(filePose()) << placed(filePose(), 1.5, 30) << 6;
    }

    // The data is the program's own arithmetic, to the last bit.
    void json()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, poseText);
        QFETCH(Pose, pose);
        if (!poseText.isNull())
            writeFile("pose.zbk", poseText);
        const Run run = render(arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QByteArray text = arguments.contains("-") ? run.out : readFile("figure.json");
        const QJsonObject json = QJsonDocument::fromJson(text).object();
        QTEST(json["penWidth"].toInt(), "pen");
        const QJsonObject fields = json["pose"].toObject();
        QCOMPARE(fields.size(), 20);
        for (const PoseFileField &field : poseFileFields())
            QCOMPARE(fields[QString::fromUtf8(field.name)].toDouble(), field.value(pose));
        QCOMPARE(fields["hipX"].toDouble(), double(pose.hipX));
        QCOMPARE(fields["hipY"].toDouble(), pose.hipY);
        QCOMPARE(fields["rotation"].toDouble(), pose.rotation);
        QCOMPARE(fields["scale"].toDouble(), pose.scale);
        const Joints joints = ComputeJoints(pose);
        const QJsonObject points = json["joints"].toObject();
        QVERIFY(samePoint(points["hip"], {pose.hipX, pose.hipY}));
        for (const auto &[name, joint] : {std::pair{"neck", joints.neck}, {"headCentre", joints.headCentre},
                                          {"lKnee", joints.lKnee}, {"lFoot", joints.lFoot}, {"rKnee", joints.rKnee},
                                          {"rFoot", joints.rFoot}, {"shoulder", joints.shoulder},
                                          {"lElbow", joints.lElbow}, {"lHand", joints.lHand},
                                          {"rElbow", joints.rElbow}, {"rHand", joints.rHand}})
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
        QTest::addColumn<QByteArray>("poseText");
        QTest::addColumn<QString>("output");
        QTest::addColumn<Pose>("pose");
        QTest::addColumn<int>("pen");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("size");
        const QSize normal(493, 397), doubled(986, 794);
        QTest::newRow("png, start-up pose") << QStringList{"--default", "out.png"} << QByteArray() << "out.png"
                                            << startPose() << 2 << 1 << normal;
        QTest::newRow("bmp, start-up pose") << QStringList{"--default", "out.bmp"} << QByteArray() << "out.bmp"
                                            << startPose() << 2 << 1 << normal;
        QTest::newRow("png, file, pen 5, scaled and turned")
            << QStringList{"--pen", "5", "--scale", "1.5", "--rotate", "-30", "pose.zbk", "out.png"}
            << fileText(filePose()) << "out.png" << placed(filePose(), 1.5, -30) << 5 << 1 << normal;
        QTest::newRow("bmp, pen 1, zoom 2") << QStringList{"--pen", "1", "--zoom", "2", "--default", "out.bmp"}
                                            << QByteArray() << "out.bmp" << startPose() << 1 << 2 << doubled;
        QTest::newRow("png, file, pen 7, zoom 2") << QStringList{"--zoom=2", "--pen=7", "pose.zbk", "out.png"}
                                                  << fileText(filePose()) << "out.png" << filePose() << 7 << 2
                                                  << doubled;
        QTest::newRow("png on standard output") << QStringList{"--default", "--format", "png", "-"} << QByteArray()
                                                << "-" << startPose() << 2 << 1 << normal;
    }

    // The editor's bitmap export is the raster canvas's image after DrawMan.
    void pictures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, poseText);
        QFETCH(QString, output);
        QFETCH(Pose, pose);
        QFETCH(int, pen);
        QFETCH(int, zoom);
        if (!poseText.isNull())
            writeFile("pose.zbk", poseText);
        const Run run = render(arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        const QImage image = QImage::fromData(output == "-" ? run.out : readFile(output));
        QTEST(image.size(), "size");
        QVERIFY(image.convertToFormat(QImage::Format_RGB32) == picture(pose, pen, zoom));
    }

    void svg()
    {
        const Run run = render({"--default", "figure.svg"});
        QCOMPARE(run.exitCode, 0);
        QXmlStreamReader reader(readFile("figure.svg"));
        QMap<QString, int> elements;
        QStringList texts;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement)
                continue;
            ++elements[reader.name().toString()];
            if (reader.name() == QLatin1StringView("text"))
                texts << reader.readElementText();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(elements["svg"], 1);
        QCOMPARE(elements["line"], 9);
        QCOMPARE(elements["circle"], 362);
        QCOMPARE(texts, QStringList{"made with Zelbrook v0.1 by Quillfen"});
    }

    void zbk_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("poseText");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray written = fileText(filePose());
        QTest::newRow("as the writer wrote it") << QStringList{"pose.zbk", "copy.zbk"} << written << written;
        QTest::newRow("start-up pose") << QStringList{"--default", "copy.zbk"} << QByteArray() << fileText(startPose());
        const QByteArray loose = " 10135 , 35\n1.2345,28.0,23,\r\n4.642233856893543 ,.0349,5.148342059336824,"
                                 "-3.4904013961605584E-1\n20,20,2.268760907504363,1.6404886561954626,"
                                 "-2.268760907504363,0.5235602094240838,10,7e-01,99,anything";
        const auto read = readPoseFile(loose.toStdString(), startPose());
        QTest::newRow("loose form") << QStringList{"pose.zbk", "copy.zbk"} << loose
                                    << fileText(std::get<Pose>(read));
        QTest::newRow("scale and rotation are not in it")
            << QStringList{"--scale", "3", "--rotate", "90", "pose.zbk", "copy.zbk"} << written << written;
        QTest::newRow("from standard input") << QStringList{"-", "copy.zbk"} << written << written;
        QTest::newRow("standard input to standard output")
            << QStringList{"--format", "zbk", "-", "-"} << written << written;
    }

    void zbk()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, poseText);
        const bool piped = arguments.contains("-");
        if (!piped && !poseText.isNull())
            writeFile("pose.zbk", poseText);
        const Run run = render(arguments, piped ? poseText : QByteArray());
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QTEST(arguments.last() == "-" ? run.out : readFile("copy.zbk"), "expected");
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("poseText");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        const auto row = [](const char *name, const QStringList &arguments, const QByteArray &poseText, int exitCode,
                            const QByteArray &message, const QByteArray &input = {}) {
            QTest::newRow(name) << arguments << poseText << input << exitCode << message;
        };
        const QByteArray good = fileText(startPose()), tooLarge = good + QByteArray(kLimit, ' ');
        const QStringList toPng{"pose.zbk", "out.png"}, fromInput{"-", "out.png"};
        row("wrong tag", toPng, QByteArray(good).replace("10135", "10134"), 1, "pose.zbk: Wrong file type\n");
        row("missing file", {"missing.zbk", "out.png"}, {}, 1, "missing.zbk: The file does not exist.\n");
        row("ends early", toPng, "10135,35,1,28,23,4,0,5\r\n", 1,
            "pose.zbk: the file ends before item 9 (rLegAngle2)\n");
        row("out of range", toPng, QByteArray(good).replace(",10,0.7", ",0,0.7"), 1,
            "pose.zbk: item 16 (headRadius) is 0, outside 5 to 100\n");
        row("file too large", toPng, tooLarge, 1, "pose.zbk: The file is larger than 1048576 bytes.\n");
        row("standard input too large", fromInput, {}, 1, "standard input: It is larger than 1048576 bytes.\n",
            tooLarge);
        row("standard input empty", fromInput, {}, 1,
            "standard input: the file ends before item 1 (the file type tag)\n", "");

        const QByteArray usage = "\n\nUsage: ";
        row("unknown format", {"--default", "out.gif"}, {}, 2,
            "cannot tell the format of \"out.gif\" from its extension; give --format" + usage);
        row("standard output without format", {"--default", "-"}, {}, 2,
            "writing to standard output needs --format" + usage);
        row("zoom 9", {"--zoom", "9", "--default", "out.png"}, {}, 2,
            "--zoom must be a whole number from 1 to 8, not \"9\"" + usage);
        row("pen 0", {"--pen", "0", "--default", "out.png"}, {}, 2,
            "--pen must be a whole number from 1 to 7, not \"0\"" + usage);
        row("no arguments", {}, {}, 2, "missing the pose file and the output" + usage);
        row("no output", {"pose.zbk"}, good, 2, "missing the output" + usage);
    }

    // Nothing is written on a failure, and an existing output stays as it was.
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, poseText);
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, message);
        if (!poseText.isNull())
            writeFile("pose.zbk", poseText);
        writeFile("out.png", kOldContent);
        const Run run = render(arguments, input);
        QTEST(run.exitCode, "exitCode");
        QVERIFY2(run.err.startsWith("zelbrook-render: " + message), run.err.constData());
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(readFile("out.png"), kOldContent);
    }

    void unwritableOutput_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "nowhere/out.png" << "" << "The folder does not exist.\n";
        QTest::newRow("folder in the way") << "out.png" << "out.png/" << "A folder of that name is in the way.\n";
        QTest::newRow("path through a file") << "plain.txt/out.png" << "plain.txt"
                                             << "Part of the path is a file, not a folder.\n";
        // The file fits in a folder entry; the temporary file beside it,
        // whose name is longer, does not.
        const QString longName = QString(246, 'x') + ".png";
        QTest::newRow("no room for the temporary name") << longName << longName << "";
        QTest::newRow("read-only folder") << "locked/out.png" << "locked/out.png" << "";
    }

    void unwritableOutput()
    {
        QFETCH(QString, output);
        QFETCH(QString, existing);
        QFETCH(QString, reason);
        const bool locked = output.startsWith("locked/");
        if (locked && geteuid() == 0)
            QSKIP("A read-only folder does not stop the superuser.");
        QDir(m_dir.path()).mkpath(QFileInfo(path(existing)).path());
        if (!existing.isEmpty() && !existing.endsWith('/'))
            writeFile(existing, kOldContent);
        if (locked)
            QVERIFY(QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner));
        const Run run = render({"--default", output});
        QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(("zelbrook-render: " + output + ": " + reason).toUtf8()), run.err.constData());
        if (!existing.isEmpty() && !existing.endsWith('/'))
            QCOMPARE(readFile(existing), kOldContent);
        // No temporary file is left behind.
        const QStringList files = QDir(m_dir.path()).entryList(QDir::Files);
        QCOMPARE(files, existing.isEmpty() || existing.contains('/') ? QStringList() : QStringList{existing});
    }

    // A full disk behind standard output is a failure, not a silent success.
    void fullStandardOutput()
    {
        if (!QFileInfo::exists("/dev/full"))
            QSKIP("This system has no /dev/full.");
        QProcess process;
        process.setStandardOutputFile("/dev/full");
        process.start(ZELBROOK_RENDER_PROGRAM, {"--default", "--format", "png", "-"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 1);
        QVERIFY(process.readAllStandardError().startsWith("zelbrook-render: standard output: It could not be written: "));
    }

    void help()
    {
        const Run run = render({"--help"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("Usage: zelbrook-render [options] POSE OUTPUT\n"));
        QCOMPARE(run.err, QByteArray());
    }
};

QTEST_MAIN(TestZelbrookRender)
#include "tst_zelbrook_render.moc"
