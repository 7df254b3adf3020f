// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_frames.h"

#include <QFile>
#include <QTest>

using namespace zelbrook;

class TestAnimationEncoder : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhenFinished_data()
    {
        QTest::addColumn<AnimatedFormat>("format");

        QTest::newRow("gif") << AnimatedFormat::Gif;
        QTest::newRow("apng") << AnimatedFormat::Apng;
        QTest::newRow("webp") << AnimatedFormat::Webp;
        QTest::newRow("mp4") << AnimatedFormat::Mp4;
        QTest::newRow("webm") << AnimatedFormat::Webm;
        QTest::newRow("sheet") << AnimatedFormat::Sheet;
    }

    // A finished encoder has let go of what it wrote with: a frame after the
    // end, or a second end, is refused and writes nothing more.
    void refusesWhenFinished()
    {
        QFETCH(AnimatedFormat, format);
        test::TemporaryFolder folder;
        // A stand-in for ffmpeg that takes the frames and writes a "video"
        // to the file its last argument names.
        const QString standIn = folder.path("ffmpeg");
        QFile script(standIn);
        QVERIFY(script.open(QIODevice::WriteOnly)
                && script.write("#!/bin/sh\ncat >/dev/null\nfor last; do :; done\necho v >\"${last#file:}\"\n") > 0);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        qputenv("ZELBROOK_FFMPEG", standIn.toUtf8());
        QByteArray bytes;
        const auto encoder =
            makeAnimationEncoder(format, {12, true, 2}, {test::appendTo(bytes), folder.path("out").toStdString(), 0});
        qunsetenv("ZELBROOK_FFMPEG");
        const QList<QImage> frames = test::walkingFrames(3);
        QVERIFY(test::encodeAll(*encoder, frames.mid(0, 2)).ok());
        const QByteArray written = bytes;
        const Status late = encoder->addFrame(frames[2]);
        const Status again = encoder->finish();
        QCOMPARE(late.ok() ? std::string() : late.error().message, std::string(AnimationEncoder::kFinished));
        QCOMPARE(again.ok() ? std::string() : again.error().message, std::string(AnimationEncoder::kFinished));
        QCOMPARE(bytes, written);
    }
};

QTEST_MAIN(TestAnimationEncoder)
#include "tst_animation_encoder.moc"
