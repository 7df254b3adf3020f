// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/raster_canvas.h"
#include "posefile/pose_writer.h"
#include "tools/batch_progress.h"
#include "tools/batch_render.h"
#include "tools/render_process.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zelbrook;

namespace {

// A pose of its own for each number, so that outputs mixed up show.
QByteArray poseText(int number)
{
    Pose pose = Pose::defaults(RasterCanvas::kWindowUnitWidth);
    pose.bodyAngle = 0.01 * number;
    pose.headWidth = 1.0 + number % 5 * 0.125;
    return QByteArray::fromStdString(writePoseFile(pose));
}

const QString kUsage = "\nTry 'zelbrook-render --help' for more information.\n";

} // namespace

class TestRenderBatch : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QVERIFY(QDir(m_dir.path()).mkpath(QFileInfo(m_dir.filePath(name)).path()));
        QFile file(m_dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

    // Every file under a folder of the test with its content.
    QMap<QString, QByteArray> files(const QString &folder) const
    {
        QMap<QString, QByteArray> found;
        const QDir root(m_dir.filePath(folder));
        for (QDirIterator it(root.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            found[root.relativeFilePath(file.fileName())] = file.open(QIODevice::ReadOnly) ? file.readAll() : "?";
        }
        return found;
    }

    RenderRun render(const QStringList &arguments, const QByteArray &input = {}) const
    {
        return runRender(m_dir.path(), arguments, input);
    }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively() && QDir().mkpath(m_dir.filePath("out")));
        for (const char *name : {"a.zbk", "sub/B.ZBK", "two.dots.zbk", "noextension", ".hidden.zbk", "c.txt"})
            writeFile(name, poseText(int(qHash(QByteArray(name)) % 100)));
        writeFile("bad.zbk", QByteArray(poseText(1)).replace("10135", "10134"));
    }

    void runs_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("written"); // in out/

        const QStringList toPng{"--output-dir", "out", "--format", "png"};
        QTest::newRow("output names") << toPng + QStringList{"a.zbk",       "sub/B.ZBK", "two.dots.zbk", "noextension",
                                                             ".hidden.zbk", "c.txt",     "--default"}
                                      << QByteArray() << 0 << "rendered 7 of 7 poses\n"
                                      << QStringList{".hidden.png", "B.png",           "a.png",       "c.png",
                                                     "default.png", "noextension.png", "two.dots.png"};
        QTest::newRow("one pose, folder with a slash, quiet")
            << QStringList{"--output-dir=out/", "--format=json", "--quiet", "a.zbk"} << QByteArray() << 0 << ""
            << QStringList{"a.json"};
        QTest::newRow("a refused pose among good ones")
            << toPng + QStringList{"a.zbk", "bad.zbk", "missing.zbk", "c.txt", "--quiet"} << QByteArray() << 1
            << "bad.zbk: Wrong file type\n|missing.zbk: The file does not exist.\n|rendered 2 of 4 poses; 2 refused\n"
            << QStringList{"a.png", "c.png"};
        QTest::newRow("refused and not written")
            << toPng + QStringList{"a.zbk", "bad.zbk", "sub/in the way.zbk"} << QByteArray() << 1
            << "bad.zbk: Wrong file type\n|out/in the way.png: It is a folder, not a file.\n"
               "|rendered 1 of 3 poses; 1 refused, 1 not written\n"
            << QStringList{"a.png"};
        QTest::newRow("a figure the start-up pose has not")
            << toPng + QStringList{"--figure", "2", "--default"} << QByteArray() << 1
            << "--default: key 1 holds no figure 2; its figures are 1\n|rendered 0 of 1 pose; 1 refused\n"
            << QStringList();
        QTest::newRow("list from standard input, CR LF and blank lines")
            << toPng + QStringList{"--list", "-", "--jobs", "2"} << QByteArray("a.zbk\r\n\nsub/B.ZBK\n") << 0
            << "rendered 2 of 2 poses\n"
            << QStringList{"B.png", "a.png"};
        QTest::newRow("list file and poses")
            << toPng + QStringList{"--list=names", "a.zbk"} << QByteArray() << 0 << "rendered 3 of 3 poses\n"
            << QStringList{"a.png", "c.png", "two.dots.png"};
        QTest::newRow("name clash") << toPng + QStringList{"a.zbk", "c.txt", "sub/a.zbk"} << QByteArray() << 2
                                    << "\"a.zbk\" and \"sub/a.zbk\" would both be written to \"out/a.png\"" + kUsage
                                    << QStringList();
        QTest::newRow("name clash with the start-up pose")
            << toPng + QStringList{"--default", "--list", "-"} << QByteArray("default.zbk\n") << 2
            << "\"default.zbk\" and --default would both be written to \"out/default.png\"" + kUsage << QStringList();
        QTest::newRow("atlas over an input")
            << QStringList{"--output-dir", ".", "--format", "sheet", "--atlas", "a.zbk", "w.json"} << QByteArray() << 2
            << "the atlas of \"w.json\" would take the name of the input \"w.json\"" + kUsage << QStringList();
        QTest::newRow("standard input in the list") << toPng + QStringList{"--list", "-"} << QByteArray("a.zbk\n-\n")
                                                    << 2 << "- (standard input) cannot be a pose" << QStringList();
        QTest::newRow("a pose that names a folder") << toPng + QStringList{"a.zbk", "sub/"} << QByteArray() << 2
                                                    << "cannot name an output after \"sub/\"" + kUsage << QStringList();
        QTest::newRow("missing list") << toPng + QStringList{"--list", "nolist"} << QByteArray() << 1
                                      << "nolist: The file does not exist.\n"
                                      << QStringList();
        QTest::newRow("missing folder") << QStringList{"--output-dir", "nowhere", "--format", "png", "a.zbk"}
                                        << QByteArray() << 1 << "nowhere: The folder does not exist.\n"
                                        << QStringList();
        QTest::newRow("folder is a file") << QStringList{"--output-dir", "a.zbk", "--format", "png", "a.zbk"}
                                          << QByteArray() << 1 << "a.zbk: It is not a folder.\n"
                                          << QStringList();
        QTest::newRow("no jobs") << toPng + QStringList{"--jobs", "0", "a.zbk"} << QByteArray() << 2
                                 << "--jobs must be a whole number from 1 to 256, not \"0\"" + kUsage << QStringList();
        QTest::newRow("jobs not a number")
            << toPng + QStringList{"--jobs", "x", "a.zbk"} << QByteArray() << 2
            << "--jobs must be a whole number from 1 to 256, not \"x\"" + kUsage << QStringList();
    }

    // Each line of the messages is expected in full, in any order, as the
    // threads finish in any order; the summary comes last.
    void runs()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, err);
        QFETCH(QStringList, written);

        writeFile("names", "c.txt\ntwo.dots.zbk\n");
        writeFile("w.json", poseText(4));
        QVERIFY(QDir(m_dir.path()).mkpath("out/in the way.png"));
        writeFile("sub/in the way.zbk", poseText(3));
        const RenderRun run = render(arguments, input);
        QFETCH(int, exitCode);
        QVERIFY2(run.exitCode == exitCode, run.err.constData());
        const QStringList expected = err.isEmpty() ? QStringList() : err.split('|');
        for (const QString &line : expected)
            QVERIFY2(run.err.contains(("zelbrook-render: " + line).toUtf8()), run.err.constData());
        if (!expected.isEmpty() && expected.last().startsWith("rendered"))
            QVERIFY(run.err.endsWith(expected.last().toUtf8()));
        if (err.isEmpty())
            QCOMPARE(run.err, QByteArray());
        QVERIFY(!run.err.contains('\r'));
        QCOMPARE(run.out, QByteArray());
        QCOMPARE(files("out").keys(), written);
    }

    // A folder the user may not write to stops the run before any pose is
    // read. Root may write anywhere, so as root the program runs as nobody.
    void unwritableFolder()
    {
        QVERIFY(QDir(m_dir.path()).mkdir("locked"));
        const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                              | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(m_dir.filePath("locked"), readOnly)
                && QFile::setPermissions(m_dir.path(), readOnly | QFile::WriteOwner));
        const QStringList arguments{"--output-dir", "locked", "--format", "png", "a.zbk"};
        const NobodyRun nobody;
        const bool asNobody = ::geteuid() == 0;
        if (asNobody && nobody.whyNot())
            QSKIP(nobody.whyNot());
        const RenderRun run = asNobody ? nobody.run(m_dir.path(), arguments) : render(arguments);
        QCOMPARE(run.err, QByteArray("zelbrook-render: locked: Files cannot be made in it: permission denied.\n"));
        QCOMPARE(run.exitCode, 1);
        QVERIFY(files("locked").isEmpty());
        QVERIFY(QFile::setPermissions(m_dir.filePath("locked"), readOnly | QFile::WriteOwner));
    }

    // The same bytes whatever the number of threads, and the same bytes as
    // one run for each pose.
    void sameBytesOnEveryThreadCount()
    {
        QStringList poses;
        for (int i = 0; i < 24; ++i) {
            poses << QString("p%1.zbk").arg(i);
            writeFile(poses.last(), poseText(i));
        }
        QVERIFY(QDir(m_dir.path()).mkpath("one") && QDir(m_dir.path()).mkpath("four"));
        const QStringList options{"--format", "png", "--pen", "3", "--scale", "1.25"};
        QCOMPARE(render(options + QStringList{"--output-dir", "one", "--jobs", "1"} + poses).exitCode, 0);
        QCOMPARE(render(options + QStringList{"--output-dir", "four", "--jobs=4"} + poses).exitCode, 0);
        QCOMPARE(render(options + QStringList{"p7.zbk", "single.png"}).exitCode, 0);
        const QMap<QString, QByteArray> one = files("one");
        QCOMPARE(one.size(), 24);
        QCOMPARE(files("four"), one);
        QCOMPARE(one["p7.png"], files(".")["single.png"]);
    }

    void outputStem_data()
    {
        QTest::addColumn<QString>("pose");
        QTest::addColumn<QString>("stem");

        QTest::newRow("pose file") << "dir/walk.zbk"
                                   << "walk";
        QTest::newRow("upper-case extension") << "WALK.ZBK"
                                              << "WALK";
        QTest::newRow("only the last extension") << "a.b.c"
                                                 << "a.b";
        QTest::newRow("no extension") << "dir.d/walk"
                                      << "walk";
        QTest::newRow("hidden file") << ".walk"
                                     << ".walk";
        QTest::newRow("hidden file with an extension") << "d/.walk.zbk"
                                                       << ".walk";
        QTest::newRow("a folder") << "dir/"
                                  << "";
        QTest::newRow("parent folder") << "a/.."
                                       << "";
    }

    void outputStem()
    {
        QFETCH(QString, pose);
        const std::string path = pose.toStdString();
        QTEST(QString::fromStdString(std::string(BatchRender::outputStem(path))), "stem");
    }

    void progressBar_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("line");

        QTest::newRow("start") << 0 << 500 << 0.0 << "[                    ]  0/500  -- frames/s  -:-- left";
        QTest::newRow("under way") << 120 << 500 << 5.0 << "[####                ]  120/500  24.0 frames/s  0:16 left";
        QTest::newRow("done") << 500 << 500 << 10.0 << "[####################]  500/500  50.0 frames/s  0:00 left";
        QTest::newRow("long") << 3 << 7200 << 1.0 << "[                    ]  3/7200  3.0 frames/s  39:59 left";
    }

    void progressBar()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(double, seconds);
        QTEST(QString::fromStdString(BatchProgress::barLine(done, total, seconds)), "line");
    }
};

QTEST_GUILESS_MAIN(TestRenderBatch)
#include "tst_render_batch.moc"
