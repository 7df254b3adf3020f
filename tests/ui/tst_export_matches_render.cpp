// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "../tools/render_process.h"

#include "model/animation_edit.h"
#include "posefile/animation_file.h"
#include "ui/export_choices.h"

#include <QTemporaryDir>

using namespace zelbrook;

Q_DECLARE_METATYPE(zelbrook::ExportChoices)

namespace {

// A walk of two keys, the second a step on with the body turned.
QByteArray walkText()
{
    Animation walk(Figure{Pose::defaults(500)});
    Key second = walk.key(0);
    second.figures.front().figure.pose.bodyAngle += 0.4;
    second.figures.front().figure.pose.hipX += 60;
    [[maybe_unused]] const Status added = AnimationEdit::insertKey(1, second).applyTo(walk);
    return QByteArray::fromStdString(writeAnimationFile(walk));
}

ExportChoices choices(AnimatedFormat format, auto &&...set)
{
    ExportChoices chosen;
    chosen.format = format;
    (set(chosen), ...);
    return chosen;
}

} // namespace

class TestExportMatchesRender : public QObject
{
    Q_OBJECT

private slots:
    void theExportIsWhatTheRendererWrites_data()
    {
        QTest::addColumn<ExportChoices>("chosen");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        const auto fps = [](int n) { return [n](ExportChoices &c) { c.fps = n; }; };
        const auto loop = [](bool on) { return [on](ExportChoices &c) { c.loop = on; }; };
        const auto zoom = [](int n) { return [n](ExportChoices &c) { c.zoom = n; }; };
        const auto transparent = [](ExportChoices &c) { c.transparent = true; };
        const auto trim = [](ExportChoices &c) { c.trim = true; };
        const auto sheet = [](ExportChoices &c) {
            c.columns = 3;
            c.atlas = true;
            c.padding = 4;
            c.extrude = 2;
        };
        QTest::newRow("gif at 8 a second, once")
            << choices(AnimatedFormat::Gif, fps(8), loop(false)) << "walk.gif" << QStringList{"--fps", "8", "--once"};
        QTest::newRow("apng, transparent and trimmed") << choices(AnimatedFormat::Apng, transparent, trim) << "walk.png"
                                                       << QStringList{"--format", "apng", "--transparent", "--trim"};
        QTest::newRow("webp at zoom 2, looping") << choices(AnimatedFormat::Webp, zoom(2), loop(true)) << "walk.webp"
                                                 << QStringList{"--zoom", "2", "--loop"};
        QTest::newRow("a sheet of 3 columns, padded and extruded, and its atlas")
            << choices(AnimatedFormat::Sheet, sheet) << "walk.png"
            << QStringList{"--format", "sheet", "--columns", "3", "--atlas", "--padding", "4", "--extrude", "2"};
        QTest::newRow("lottie at zoom 2, trimmed") << choices(AnimatedFormat::Lottie, zoom(2), trim) << "walk.json"
                                                   << QStringList{"--format", "lottie", "--zoom", "2", "--trim"};
    }

    // The window's export of the saved animation, and zelbrook-render's of
    // the same file with the same options, in folders of their own so that
    // the names inside an atlas agree.
    void theExportIsWhatTheRendererWrites()
    {
        QFETCH(ExportChoices, chosen);
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("window") && QDir(dir.path()).mkpath("render"));
        const QString walk = dir.filePath("walk.zba");
        test::writeFile(walk, walkText());
        ActiveWindow w;
        w.window->openPoseNamed(walk.toStdString());
        w.window->animationFiles().setExportChooser([chosen](const ExportChoices &) { return chosen; });
        w.answers = {dir.filePath("window/" + name)};
        w.window->animationFiles().exportAnimation();
        QCOMPARE(w.messages.value(0), "Saved as: " + dir.filePath("window/" + name));
        const RenderRun run = runRender(dir.filePath("render"), options + QStringList{walk, name});
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.exitCode, 0);
        QStringList written{name};
        if (chosen.atlas)
            written << "walk.json";
        for (const QString &file : written)
            QVERIFY2(test::fileBytes(dir.filePath("window/" + file), "none")
                         == test::fileBytes(dir.filePath("render/" + file), "none from zelbrook-render"),
                     qPrintable(file));
    }
};

QTEST_MAIN(TestExportMatchesRender)
#include "tst_export_matches_render.moc"
