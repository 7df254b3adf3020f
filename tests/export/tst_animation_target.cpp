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
        QTest::addColumn<double>("scale");
        QTest::addColumn<QString>("name");  // empty: standard output
        QTest::addColumn<int>("stopAfter"); // frames; 0 never
        QTest::addColumn<QString>("message");

        const QString stopped(AnimationExporter::kStopped.data());
        QTest::newRow("sheet") << Kind::Animated << AnimatedFormat::Sheet << 1.0 << "out" << 0 << QString();
        QTest::newRow("gif, stopped") << Kind::Animated << AnimatedFormat::Gif << 1.0 << "out" << 1 << stopped;
        QTest::newRow("json, stopped") << Kind::Json << AnimatedFormat::Gif << 1.0 << "out" << 2 << stopped;
        QTest::newRow("animation file that would not read back")
            << Kind::AnimationFile << AnimatedFormat::Gif << 4.0 << "out" << 0
            << "The animation cannot be saved: key 2: scale is 4, outside 0.5 to 3.";
        QTest::newRow("video to standard output") << Kind::Animated << AnimatedFormat::Webm << 1.0 << "" << 0
                                                  << "A video cannot be written to standard output.";
    }

    // What is written is complete; a refused, failed or stopped output
    // leaves nothing in the folder.
    void write()
    {
        QFETCH(Kind, kind);
        QFETCH(AnimatedFormat, format);
        QFETCH(double, scale);
        QFETCH(QString, name);
        QFETCH(int, stopAfter);
        QFETCH(QString, message);
        Figure far{test::startPose(), 2};
        far.pose.scale = scale;
        const Animation animation({12, true}, {{Figure{test::startPose(), 2}, 1, 1}, {far, 1, 1}});
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
