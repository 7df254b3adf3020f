// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"

#include "test_support.h"

#include <QTest>

using namespace zelbrook;

namespace {

Animation twoKeys()
{
    Key first{Figure{test::startPose(), 3}, 2, 5, Ease::Smooth};
    first.figures.front().figure.pose.headWidth = 0.1 + 0.605; // no short decimal holds this double
    first.figures.front().figure.pose.hipX = 123.456f;
    first.figures.front().figure.pose.rotation = -1 / 3.0;
    Key second = first;
    second.figures.front().figure.pose.bodyLength = 99.99999999999999;
    second.ease = Ease::Linear;
    return Animation(Playback{24, false}, {first, second, second});
}

// The text of twoKeys() with one piece of it replaced.
std::string edited(std::string_view from, std::string_view to, int occurrence = 1)
{
    std::string text = writeAnimationFile(twoKeys());
    std::size_t at = std::string::npos;
    for (int i = 0; i < occurrence; ++i)
        at = text.find(from, at + 1);
    return at == std::string::npos ? "<not found>" : text.replace(at, from.size(), to);
}

} // namespace

class TestAnimationFile : public QObject
{
    Q_OBJECT

private slots:
    void readsBackTheVeryValuesWritten()
    {
        const Result<Animation> read = readAnimationFile(writeAnimationFile(twoKeys()), test::startPose());
        QVERIFY2(read, read ? "" : read.error().message.c_str());
        QVERIFY(read->keys() == twoKeys().keys());
        QVERIFY(read->playback() == twoKeys().playback());
    }

    void fillsInWhatIsLeftOut()
    {
        const std::string pose = R"({"format": "zelbrook-animation",
            "keys": [{"pose": {"bodyLength": 35, "bodyAngle": 1.5706806282722514, "legLength1": 28,
            "legLength2": 23, "lLegAngle1": 4.642233856893543, "lLegAngle2": 0.034904013961605584,
            "rLegAngle1": 5.148342059336824, "rLegAngle2": -0.34904013961605584, "armLength1": 20,
            "armLength2": 20, "lArmAngle1": 2.268760907504363, "lArmAngle2": 1.6404886561954626,
            "rArmAngle1": -2.268760907504363, "rArmAngle2": 0.5235602094240838, "headRadius": 10,
            "headWidth": 0.7}, "colour": "red"}]})";
        const Result<Animation> read = readAnimationFile(pose, test::startPose());
        QVERIFY2(read, read ? "" : read.error().message.c_str());
        QVERIFY(read->keys() == Animation(Figure{test::startPose()}).keys());
        QVERIFY(read->playback() == Playback{});
    }

    void refusesWholeAndSaysWhere_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, const std::string &text, const char *message) {
            QTest::newRow(name) << QByteArray::fromStdString(text) << message;
        };
        row("length of the third key", edited("\"bodyLength\": 99.99999999999999", "\"bodyLength\": 150", 2),
            "key 3: bodyLength is 150, outside 5 to 100");
        row("a required field", edited("\"legLength1\": 28,", ""), "key 1: legLength1 is missing");
        row("not a number", edited("\"headRadius\": 10", "\"headRadius\": \"ten\""),
            "key 1: headRadius is not a number");
        row("hip", edited("\"hipY\": 210", "\"hipY\": -1"), "key 1: hipY is -1, outside 0 to 400");
        row("scale", edited("\"scale\": 1", "\"scale\": 3.5"), "key 1: scale is 3.5, outside 0.5 to 3");
        row("pen", edited("\"penWidth\": 3", "\"penWidth\": 8"), "key 1: penWidth is 8, outside 1 to 7");
        row("pen not whole", edited("\"penWidth\": 3", "\"penWidth\": 2.5"), "key 1: penWidth is not a whole number");
        row("hold", edited("\"hold\": 2", "\"hold\": 0", 2), "key 2: hold is 0, outside 1 to 1000");
        row("tweens", edited("\"tweens\": 5", "\"tweens\": 1001"), "key 1: tweens is 1001, outside 0 to 1000");
        row("ease", edited("\"smooth\"", "\"fast\""), "key 1: ease is not \"linear\" or \"smooth\"");
        row("fps", edited("\"fps\": 24", "\"fps\": 61"), "fps is 61, outside 1 to 60");
        row("loop", edited("\"loop\": false", "\"loop\": 0"), "loop is not true or false");
        row("no keys", R"({"format": "zelbrook-animation", "keys": []})", "the file has no keys");
        row("another format", edited("zelbrook-animation", "zelbrook-drawing"), "Wrong file type");
        row("not an object", "[1, 2]", "Wrong file type");
        row("newer", edited("\"version\": 1", "\"version\": 2"), "the file was made by a newer version of Zelbrook");
        // The x is byte 15 of the text, the 13th of its second line.
        row("syntax", "{\n  \"format\": x}",
            "line 2, column 13: syntax error while parsing value - invalid literal; "
            "last read: '\"format\": x'");
        row("too large", std::string(16 * 1024 * 1024 + 1, ' '), "the file is larger than 16 MiB");
    }
    void refusesWholeAndSaysWhere()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const Result<Animation> read = readAnimationFile(text.toStdString(), test::startPose());
        QVERIFY(!read);
        QCOMPARE(QString::fromStdString(read.error().message), message);
    }
};

QTEST_APPLESS_MAIN(TestAnimationFile)
#include "tst_animation_file.moc"
