// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/animation_target.h"
#include "test_support.h"

#include <QDir>
#include <QTest>

using namespace zelbrook;
using Kind = AnimationTarget::Kind;

class TestAnimationTarget : public QObject
{
    Q_OBJECT

private slots:
    void write_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<AnimatedFormat>("format");
        QTest::addColumn<QString>("name");  // empty: standard output
        QTest::addColumn<int>("stopAfter"); // frames; 0 never
        QTest::addColumn<QString>("message");

        const QString stopped(AnimationExporter::kStopped.data());
        QTest::newRow("sheet") << Kind::Animated << AnimatedFormat::Sheet << "out" << 0 << QString();
        QTest::newRow("lottie") << Kind::Animated << AnimatedFormat::Lottie << "out.lottie.json" << 0 << QString();
        QTest::newRow("gif, stopped") << Kind::Animated << AnimatedFormat::Gif << "out" << 1 << stopped;
        QTest::newRow("json, stopped") << Kind::Json << AnimatedFormat::Gif << "out" << 2 << stopped;
        QTest::newRow("video to standard output")
            << Kind::Animated << AnimatedFormat::Webm << "" << 0 << "A video cannot be written to standard output.";
    }

    // What is written is complete; a refused or stopped output leaves
    // nothing in the folder. An animation file that would not read back is
    // refused in the tests of zelbrook-render.
    void write()
    {
        QFETCH(Kind, kind);
        QFETCH(AnimatedFormat, format);
        QFETCH(QString, name);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        Figure turned{test::startPose(), 2};
        turned.pose.bodyAngle = 0.5;
        const Animation animation({12, true}, {{Figure{test::startPose(), 2}, 1, 1}, {turned, 1, 1}});
        test::TemporaryFolder folder;
        const auto frameDone = [&](std::size_t done) { return stopAfter == 0 || int(done) < stopAfter; };
        const AnimationTarget target{kind, format, 1, 0};
        const Status written =
            target.write(animation, name.isEmpty() ? std::string() : folder.path(name).toStdString(), frameDone);
        QCOMPARE(QString::fromStdString(written ? std::string() : written.error().message), message);
        const QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files, message.isEmpty() ? QStringList{name} : QStringList{});
    }
};

QTEST_MAIN(TestAnimationTarget)
#include "tst_animation_target.moc"
