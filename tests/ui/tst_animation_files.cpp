// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "export/animation_exporter.h"
#include "model/program_info.h"
#include "posefile/animation_file.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

#include <malloc.h>

using namespace zelbrook;

namespace {

using test::fileBytes;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Three keys with the body turned differently and two in-betweens after
// the first.
void animateThreeKeys(ActiveWindow &w)
{
    w.makeThreeKeys();
    w.keys(QKeySequence(Qt::ALT | Qt::Key_Left));
    QSpinBox *tweens = w.window->timeline().strip()->findChildren<QSpinBox *>().at(1);
    tweens->setFocus();
    tweens->selectAll();
    QTest::keyClicks(tweens, "2");
    QTest::keyClick(tweens, Qt::Key_Return);
}

} // namespace

class TestAnimationFiles : public QObject
{
    Q_OBJECT

private slots:
    // Save, open again and export a GIF as a user would; the GIF is the
    // very one the exporter makes of the saved file.
    void saveOpenAndExport()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        animateThreeKeys(w);
        QCOMPARE(w.window->document().animation().key(0).tweens, 2);
        const Animation made = w.window->document().animation();
        const QString saved = dir.filePath("walk.zba"), gif = dir.filePath("walk.gif");
        w.answers = {saved, saved, gif};
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        QVERIFY(w.messages.isEmpty());
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        w.window->animationFiles().setQuestion([] { return AnimationFiles::Answer::Discard; });
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        QVERIFY(w.window->document().animation().keys() == made.keys());
        QCOMPARE(w.window->document().currentKey(), std::size_t(0));
        QVERIFY(w.window->timeline().isShown());
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        QCOMPARE(w.messages, QStringList{"Saved as: " + gif});

        const auto reread = readAnimationFile(fileBytes(saved).toStdString(), Pose{});
        QVERIFY(reread);
        std::string expected;
        const ByteSink sink = [&expected](std::string_view bytes) {
            expected.append(bytes);
            return Status{};
        };
        QVERIFY(AnimationExporter().write(reread.value(), kProgramCaption, AnimatedFormat::Gif, 1, {sink, ""}));
        QCOMPARE(fileBytes(gif), QByteArray::fromStdString(expected));
    }

    void aRefusedFileChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{\"format\": ") << "line 1";
        QTest::newRow("a key without its pose")
            << QByteArray(R"({"format": "zelbrook-animation", "version": 1, "keys": [{"hold": 2}]})")
            << "key 1: the pose is missing";
    }

    void aRefusedFileChangesNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        w.window->animationFiles().setQuestion([] { return AnimationFiles::Answer::Discard; });
        const auto before = w.window->document().animation().keys();
        const auto state = w.state();
        const QString path = dir.filePath("bad.zba");
        writeFile(path, bytes);
        w.answers = {path};
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        QVERIFY2(w.messages.value(0).startsWith("Could not open " + path + ":\n"), qPrintable(w.messages.value(0)));
        QVERIFY2(w.messages.value(0).contains(reason), qPrintable(w.messages.value(0)));
        QVERIFY(w.window->document().animation().keys() == before);
        QCOMPARE(w.state(), state);
    }

    // Closing over changes that only an animation file keeps (keys, a second
    // figure, a figure's colour or name) asks first; one key of one plain
    // figure closes as it always has.
    void closingAsksAboutUnsavedKeys_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("closed");
        QTest::newRow("one key") << "" << int(AnimationFiles::Answer::Cancel) << false << true;
        QTest::newRow("cancel") << "key" << int(AnimationFiles::Answer::Cancel) << true << false;
        QTest::newRow("save") << "key" << int(AnimationFiles::Answer::Save) << true << true;
        QTest::newRow("a second figure") << "figure" << int(AnimationFiles::Answer::Cancel) << true << false;
        QTest::newRow("a colour") << "colour" << int(AnimationFiles::Answer::Cancel) << true << false;
        QTest::newRow("a name") << "name" << int(AnimationFiles::Answer::Cancel) << true << false;
    }

    void closingAsksAboutUnsavedKeys()
    {
        QFETCH(QString, change);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, closed);
        QTemporaryDir dir;
        ActiveWindow w;
        QVERIFY(w.slider("BodyangleScroll")->setValue(20));
        AnimationDocument &document = w.window->document();
        if (change == "key")
            QVERIFY(document.addKey());
        else if (change == "figure")
            QVERIFY(document.addFigure(document.figure()));
        else if (change == "colour")
            QVERIFY(document.setFigureColor(kFirstFigureId, 0xFF0000));
        else if (change == "name")
            QVERIFY(document.renameFigure(kFirstFigureId, "Hero"));
        bool wasAsked = false;
        w.window->animationFiles().setQuestion([&] {
            wasAsked = true;
            return AnimationFiles::Answer(answer);
        });
        w.answers = {dir.filePath("kept.zba")};
        QCOMPARE(w.window->close(), closed);
        QCOMPARE(wasAsked, asked);
        QCOMPARE(QFile::exists(dir.filePath("kept.zba")), answer == int(AnimationFiles::Answer::Save) && asked);
    }

    // Named on the command line or dropped, an animation opens as one.
    void anAnimationOpensByItsText()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        Animation two(Figure{w.window->pose()});
        QVERIFY(AnimationEdit::insertKey(1, two.key(0)).applyTo(two));
        writeFile(dir.filePath("walk.txt"), QByteArray::fromStdString(writeAnimationFile(two)));
        w.window->openPoseNamed(dir.filePath("walk.txt").toStdString());
        QCOMPARE(w.window->document().animation().keyCount(), std::size_t(2));
        QVERIFY(w.window->timeline().isShown());
        QVERIFY(w.messages.isEmpty());
    }

    // An open that runs out of memory says so, and the animation stays.
    void anOpenOutOfMemoryChangesNothing_data()
    {
        QTest::addColumn<bool>("named");
        QTest::newRow("named on the command line") << true;
        QTest::newRow("chosen in the dialog") << false;
    }
    void anOpenOutOfMemoryChangesNothing()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than the limit leaves");
#endif
        QFETCH(bool, named);
        QTemporaryDir dir;
        const QString path = dir.filePath("large.zba");
        writeFile(path, QByteArray(R"({"format": "zelbrook-animation", "notes": ")") + QByteArray(15000000, 'a')
                            + QByteArray(R"("})"));
        ActiveWindow w;
        w.makeThreeKeys();
        w.window->animationFiles().setQuestion([] { return AnimationFiles::Answer::Discard; });
        const auto before = w.state();
        w.answers = {path};
        // Large blocks then come from new mappings, not the heap's free space.
        ::mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
        {
            const test::AddressSpaceLimit limit(2 * 1024 * 1024);
            named ? w.window->openPoseNamed(path.toStdString())
                  : w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
        }
        QCOMPARE(w.messages, QStringList("Could not open " + path + ":\nThere is not enough memory to open it."));
        QCOMPARE(w.window->document().animation().keyCount(), std::size_t(3));
        QVERIFY(w.state() == before);
    }

    // The progress box stops a long export, and no file is left; a cancel
    // is no failure to report.
    void aCancelledExportLeavesNoFile()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        QVERIFY(w.window->document().setKeyTiming(1000, 1000, Ease::Linear));
        w.answers = {dir.filePath("long.gif")};
        QTimer::singleShot(100, [&w] { w.window->findChild<QProgressDialog *>()->cancel(); });
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        QCOMPARE(w.messages, QStringList());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }

    void videoWithoutFfmpegNamesTheOtherFormats()
    {
        QTemporaryDir dir;
        qputenv("ZELBROOK_FFMPEG", "/nonexistent/ffmpeg");
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        w.answers = {dir.filePath("a.mp4")};
        w.keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
        qunsetenv("ZELBROOK_FFMPEG");
        QVERIFY2(w.messages.value(0).contains("gif, apng, webp and sheet need no other program"),
                 qPrintable(w.messages.value(0)));
        QVERIFY(!QFile::exists(dir.filePath("a.mp4")));
    }
};

QTEST_MAIN(TestAnimationFiles)
#include "tst_animation_files.moc"
