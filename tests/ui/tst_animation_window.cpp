// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "platform/raster_canvas.h"
#include "posefile/animation_file.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QProgressDialog>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>

using namespace zelbrook;

namespace {

const QKeySequence kSave(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
const QKeySequence kOpen(Qt::CTRL | Qt::SHIFT | Qt::Key_O);
const QKeySequence kExport(Qt::CTRL | Qt::SHIFT | Qt::Key_E);
const QKeySequence kUndo(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedo(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);

// An animation of `keys` keys, the body turned a little more in each.
QString writeWalk(const QTemporaryDir &dir, const QString &name, int keys)
{
    Animation walk(Figure{Pose::defaults(500)});
    for (int k = 1; k < keys; ++k) {
        Key key = walk.key(0);
        key.figures.front().figure.pose.bodyAngle += 0.1 * k;
        [[maybe_unused]] const Status added = AnimationEdit::insertKey(std::size_t(k), key).applyTo(walk);
    }
    const QString path = dir.filePath(name);
    test::writeFile(path, QByteArray::fromStdString(writeAnimationFile(walk)));
    return path;
}

// Opens a walk of two keys and changes it, leaving it unsaved.
void openChangedWalk(ActiveWindow &w, const QTemporaryDir &dir)
{
    w.window->openPoseNamed(writeWalk(dir, "walk.zba", 2).toStdString());
    QVERIFY(w.slider("BodyLengthScroll")->setValue(50));
}

} // namespace

class TestAnimationWindow : public QObject
{
    Q_OBJECT

private slots:
    // Opened from the command line, changed, saved with its key and closed
    // without a question, as a user works; the file holds the change.
    void saveGoesToTheAnimationsOwnFile()
    {
        QTemporaryDir dir;
        const QString walk = writeWalk(dir, "walk.zba", 3);
        ActiveWindow w;
        w.window->openPoseNamed(walk.toStdString());
        QCOMPARE(w.window->windowTitle(), "walk.zba[*] — Zelbrook v0.1 by Quillfen");
        QVERIFY(w.slider("BodyLengthScroll")->setValue(50));
        QVERIFY(w.window->isWindowModified());
        w.keys(kSave);
        QVERIFY(w.requests.empty() && w.messages.isEmpty());
        QVERIFY(!w.window->isWindowModified());
        bool asked = false;
        w.window->animationFiles().setQuestion([&] {
            asked = true;
            return AnimationFiles::Answer::Cancel;
        });
        QVERIFY(w.window->close());
        QVERIFY(!asked);
        const auto reread = readAnimationFile(test::fileBytes(walk).toStdString(), Pose{});
        QVERIFY(reread && reread.value().keys() == w.window->document().animation().keys());
        QCOMPARE(reread.value().key(0).figures.front().figure.pose.bodyLength, 50.0);
    }

    // The title names the file while the timeline shows or there are keys
    // to see, and marks it until undo and redo come back to what was saved.
    void theTitleNamesTheFileAndItsChanges_data()
    {
        QTest::addColumn<int>("keys");
        QTest::addColumn<QString>("steps"); // t: hide the timeline, e: an edit, u: undo, r: redo
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("modified");
        const QString named = "walk.zba[*] — Zelbrook v0.1 by Quillfen", plain = "Zelbrook v0.1 by Quillfen";
        QTest::newRow("several keys") << 2 << "" << named << false;
        QTest::newRow("one key, timeline hidden") << 1 << "" << plain << false;
        QTest::newRow("several keys, timeline hidden") << 2 << "t" << named << false;
        QTest::newRow("an edit") << 2 << "e" << named << true;
        QTest::newRow("undone back to the file") << 2 << "e u" << named << false;
        QTest::newRow("redone") << 2 << "e u r" << named << true;
        QTest::newRow("an edit, one key, timeline hidden") << 1 << "e" << plain << false;
    }

    void theTitleNamesTheFileAndItsChanges()
    {
        QFETCH(int, keys);
        QFETCH(QString, steps);
        QTemporaryDir dir;
        ActiveWindow w;
        w.window->openPoseNamed(writeWalk(dir, "walk.zba", keys).toStdString());
        for (const QString &step : steps.split(' ', Qt::SkipEmptyParts)) {
            if (step == "t")
                w.window->timeline().setShown(false);
            else if (step == "e")
                QVERIFY(w.slider("BodyLengthScroll")->setValue(50));
            else
                w.keys(step == "u" ? kUndo : kRedo);
        }
        QTEST(w.window->windowTitle(), "shown");
        QTEST(w.window->isWindowModified(), "modified");
        // The credit line keeps the program's caption.
        w.window->timeline().setShown(false);
        QCOMPARE(w.picture(), Exporter().picture(w.window->document().figure(), kProgramCaption));
    }

    // Each animation dialog says what it does and starts where the work is.
    void dialogsStartWhereTheWorkIs_data()
    {
        // f: the animation has a file, d: a dialog was used, b: started in a build tree
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("command");    // 0 save as, 1 open, 2 export
        QTest::addColumn<QString>("folder"); // relative to the work folder, which the editor started in; or "home"
        QTest::addColumn<QString>("offered");
        QTest::addColumn<QString>("shownTitle");
        QTest::newRow("save as, own file") << "f" << 0 << "work"
                                           << "walk.zba"
                                           << "Save animation";
        QTest::newRow("open, own file") << "f" << 1 << "work"
                                        << "walk.zba"
                                        << "Open animation";
        QTest::newRow("export, own file") << "f" << 2 << "work"
                                          << "walk.gif"
                                          << "Export animation";
        QTest::newRow("export, last folder") << "d" << 2 << "other"
                                             << "zelbrook.gif"
                                             << "Export animation";
        QTest::newRow("save as, nothing yet") << "" << 0 << ""
                                              << "zelbrook.zba"
                                              << "Save animation";
        QTest::newRow("save as, started in a build tree") << "b" << 0 << "home"
                                                          << "zelbrook.zba"
                                                          << "Save animation";
    }

    void dialogsStartWhereTheWorkIs()
    {
        QFETCH(QString, before);
        QFETCH(int, command);
        QFETCH(QString, folder);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("work") && QDir(dir.path()).mkpath("other"));
        if (before.contains('b'))
            test::writeFile(dir.filePath("CMakeCache.txt"), "");
        const QString startedIn = QDir::currentPath();
        QDir::setCurrent(before.contains('b') ? dir.filePath("work") : dir.path());
        ActiveWindow w;
        AnimationFiles &files = w.window->animationFiles();
        if (before.contains('f'))
            w.window->openPoseNamed(writeWalk(dir, "work/walk.zba", 2).toStdString());
        if (before.contains('d')) {
            w.answers = {std::nullopt, std::nullopt};
            files.openAnimation();
            w.answers = {dir.filePath("other/x.zba")};
            files.saveAnimationAs();
            files.newAnimation();
        }
        w.requests.clear();
        w.answers = {std::nullopt};
        const std::array commands{&AnimationFiles::saveAnimationAs, &AnimationFiles::openAnimation,
                                  &AnimationFiles::exportAnimation};
        (files.*commands[std::size_t(command)])();
        QCOMPARE(w.requests.size(), std::size_t(1));
        QDir::setCurrent(startedIn);
        const QString expected = folder == "home" ? QDir::homePath() : QDir(dir.filePath(folder)).absolutePath();
        QCOMPARE(w.requests[0].startFolder, expected);
        QTEST(w.requests[0].offeredName, "offered");
        QTEST(w.requests[0].title, "shownTitle");
    }

    // A name typed without an extension takes the chosen type's.
    void theChosenTypeGivesTheExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("written");
        QTest::newRow("WebP chosen") << "jump"
                                     << "WebP (*.webp)"
                                     << "jump.webp";
        QTest::newRow("no filter: the first") << "jump"
                                              << ""
                                              << "jump.gif";
        QTest::newRow("an extension typed") << "jump.png"
                                            << "GIF (*.gif)"
                                            << "jump.png";
    }

    void theChosenTypeGivesTheExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, filter);
        QTemporaryDir dir;
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        w.answers = {FileDialogControl::DialogAnswer{dir.filePath(typed), filter}};
        w.keys(kExport);
        QTEST(QDir(dir.path()).entryList(QDir::Files).join(' '), "written");
    }

    // Undo and redo reach the document from a timeline box that holds no
    // typing of its own; typing there is undone first.
    void undoFromATimelineBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("length"); // the body length after Ctrl+Z
        QTest::addColumn<QString>("boxText");
        QTest::newRow("nothing typed") << "" << 35 << "1";
        QTest::newRow("typing unfinished") << "7" << 50 << "1";
    }

    void undoFromATimelineBox()
    {
        QFETCH(QString, typed);
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        QVERIFY(w.slider("BodyLengthScroll")->setValue(50));
        QSpinBox *hold = w.window->timeline().strip()->findChildren<QSpinBox *>().at(0);
        hold->setFocus();
        hold->selectAll();
        QTest::keyClicks(hold, typed);
        QTest::keySequence(QApplication::focusWidget(), kUndo);
        QTEST(int(w.window->pose().bodyLength), "length");
        QTEST(hold->cleanText(), "boxText");
        if (typed.isEmpty()) {
            QTest::keySequence(QApplication::focusWidget(), kRedo);
            QCOMPARE(w.window->pose().bodyLength, 50.0);
        }
    }

    // While an export runs, a second export, an open, an edit and closing
    // the window all wait; none starts.
    void nothingStartsDuringAnExport()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
        QVERIFY(w.window->document().setKeyTiming(1000, 1000, Ease::Linear));
        w.answers = {dir.filePath("long.gif")};
        bool closed = true;
        QTimer::singleShot(50, [&] {
            w.keys(kExport);
            w.keys(kOpen);
            w.keys(QKeySequence(Qt::CTRL | Qt::Key_K));
            closed = w.window->close();
            w.window->findChild<QProgressDialog *>()->cancel();
        });
        w.keys(kExport);
        QCOMPARE(w.requests.size(), std::size_t(1));
        QVERIFY(!closed && w.face()->isVisible());
        QCOMPARE(w.window->document().animation().keyCount(), std::size_t(2));
    }

    // New animation asks about unsaved keys, then starts from the start-up
    // pose with no file.
    void newAnimationStartsAgain()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        openChangedWalk(w, dir);
        int asked = 0;
        w.window->animationFiles().setQuestion([&] {
            ++asked;
            return AnimationFiles::Answer::Discard;
        });
        w.window->animationFiles().newAnimation();
        QCOMPARE(asked, 1);
        const Animation start(Figure{Pose::defaults(RasterCanvas::kWindowUnitWidth)});
        QVERIFY(w.window->document().animation().keys() == start.keys());
        QCOMPARE(w.window->windowTitle(), "Zelbrook v0.1 by Quillfen");
    }

    // Discarding lets one open go on; when that open fails the changes are
    // still there, and closing still asks about them.
    void discardedChangesStayUntilSetAside()
    {
        QTemporaryDir dir;
        ActiveWindow w;
        openChangedWalk(w, dir);
        int asked = 0;
        w.window->animationFiles().setQuestion([&] {
            ++asked;
            return asked == 1 ? AnimationFiles::Answer::Discard : AnimationFiles::Answer::Cancel;
        });
        w.answers = {dir.filePath("missing.zba")};
        w.keys(kOpen);
        QCOMPARE(w.window->pose().bodyLength, 50.0);
        QVERIFY(!w.window->close());
        QCOMPARE(asked, 2);
    }
};

QTEST_MAIN(TestAnimationWindow)
#include "tst_animation_window.moc"
