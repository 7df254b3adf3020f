// SPDX-License-Identifier: GPL-3.0-or-later
#include "posefile/animation_file.h"

#include "model/animation_document.h"
#include "model/move_placement.h"

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

// Two figures; the second key holds only the thrower.
Animation twoFigures()
{
    Figure thrower{test::startPose(), 3};
    thrower.pose.bodyLength = 99.5;
    const KeyFigure one{1, Figure{test::startPose()}};
    return Animation(Playback{}, {{1, "Figure 1", kBlack}, {2, "Thrower", 0xc03020}},
                     {Key({one, {2, thrower}}), Key({{2, thrower}}, 2, 1, Ease::Smooth), Key({{2, thrower}, one})});
}

// The thrower of twoFigures() facing left, its left foot and right hand
// pinned in the first key.
Animation pinnedFigures()
{
    std::vector<Key> keys = twoFigures().keys();
    Figure &thrower = keys.front().find(2)->figure;
    thrower.facing = Facing::Left;
    thrower.pin(Limb::LFoot) = Point{210.5, 260};
    thrower.pin(Limb::RHand) = Point{-3, 1e-7};
    return Animation(Playback{}, twoFigures().cast(), keys);
}

// Every field a pose file must have, at the start-up values.
constexpr std::string_view kPoseJson =
    R"({"bodyLength": 35, "bodyAngle": 1.5706806282722514, "legLength1": 28,
    "legLength2": 23, "lLegAngle1": 4.642233856893543, "lLegAngle2": 0.034904013961605584,
    "rLegAngle1": 5.148342059336824, "rLegAngle2": -0.34904013961605584, "armLength1": 20,
    "armLength2": 20, "lArmAngle1": 2.268760907504363, "lArmAngle2": 1.6404886561954626,
    "rArmAngle1": -2.268760907504363, "rArmAngle2": 0.5235602094240838, "headRadius": 10,
    "headWidth": 0.7})";

// A version 2 file of the figures and keys given.
std::string castFile(std::string_view figures, std::string_view keys)
{
    return R"({"format": "zelbrook-animation", "version": 2, "figures": [)" + std::string(figures) + R"(], "keys": [)"
           + std::string(keys) + "]}";
}

std::string keyFile(std::initializer_list<int> ids)
{
    std::string key = R"({"figures": [)";
    for (const int id : ids)
        key += R"({"id": )" + std::to_string(id) + R"(, "pose": )" + std::string(kPoseJson) + "},";
    key.back() = ']';
    return key + "}";
}

// A literal's bytes, NULs included.
template <std::size_t size>
std::string bytes(const char (&text)[size])
{
    return std::string(text, size - 1);
}

// The text of an animation, twoKeys() unless told, with one piece of it
// replaced.
std::string edited(std::string_view from, std::string_view to, int occurrence = 1,
                   const Animation &animation = twoKeys())
{
    std::string text = writeAnimationFile(animation);
    std::size_t at = std::string::npos;
    for (int i = 0; i < occurrence; ++i)
        at = text.find(from, at + 1);
    return at == std::string::npos ? "<not found>" : text.replace(at, from.size(), to);
}

// The text version 1 writes around the pose of one key whose hip is at 300,
// at the start-up hold, in-betweens, ease and pen.
constexpr std::string_view kVersionOneHead = "{\n  \"format\": \"zelbrook-animation\",\n  \"version\": 1,\n"
                                             "  \"fps\": 12,\n  \"loop\": true,\n  \"keys\": [\n    {\n"
                                             "      \"pose\": {\n        \"hipX\": 300,\n";
constexpr std::string_view kVersionOneTail = "      },\n      \"penWidth\": 2,\n      \"hold\": 1,\n"
                                             "      \"tweens\": 0,\n      \"ease\": \"linear\"\n    }\n  ]\n}\n";

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
        const std::string pose = R"({"format": "zelbrook-animation", "keys": [{"pose": )" + std::string(kPoseJson)
                                 + R"(, "colour": "red"}]})";
        const Result<Animation> read = readAnimationFile(pose, test::startPose());
        QVERIFY2(read, read ? "" : read.error().message.c_str());
        QVERIFY(read->keys() == Animation(Figure{test::startPose()}).keys());
        QVERIFY(read->playback() == Playback{});
        QVERIFY((read->cast() == std::vector<CastFigure>{CastFigure{1, "Figure 1", kBlack}}));
        const Result<Animation> cast = readAnimationFile(
            castFile("{\"id\": 3}, {\"id\": 1, \"name\": \"Thrower\", \"color\": \"#C03020\"}", keyFile({1, 3})),
            test::startPose());
        QVERIFY2(cast, cast ? "" : cast.error().message.c_str());
        QVERIFY((cast->cast() == std::vector<CastFigure>({{3, "Figure 3", kBlack}, {1, "Thrower", 0xc03020}})));
        QCOMPARE(cast->key(0).figures.front().id, 3);
    }

    // One black "Figure 1", whatever its id, is written as version 1 was;
    // any other cast as version 2, which reads back exactly.
    void writesTheVersionTheCastNeeds_data()
    {
        QTest::addColumn<int>("cast");
        QTest::addColumn<int>("version");
        QTest::newRow("Figure 1") << 0 << 1;
        QTest::newRow("Figure 1 of id 4, which version 1 cannot name") << 1 << 2;
        QTest::newRow("renamed") << 2 << 2;
        QTest::newRow("coloured") << 3 << 2;
        QTest::newRow("two figures, in and out of keys") << 4 << 2;
        QTest::newRow("pinned and facing left") << 5 << 3;
        QTest::newRow("Figure 1 facing left") << 6 << 3;
    }
    void writesTheVersionTheCastNeeds()
    {
        QFETCH(int, cast);
        QFETCH(int, version);
        Figure figure{test::startPose()};
        figure.pose.hipX = 300;
        const std::vector<std::vector<CastFigure>> casts = {
            {{1, "Figure 1", kBlack}},
            {{4, "Figure 1", kBlack}},
            {{1, "Figure 2", kBlack}},
            {{1, "Figure 1", 0x000001}},
            {{1, "Figure 1", kBlack}, {2, "Say \"hi\" \u00e9", 0xc03020}}};
        Figure left = figure;
        left.facing = Facing::Left;
        const std::vector<Key> keys = cast == 4   ? twoFigures().keys()
                                      : cast == 5 ? pinnedFigures().keys()
                                      : cast == 6 ? std::vector{Key(left)}
                                                  : std::vector{Key({{casts[cast][0].id, figure}})};
        const Animation animation(Playback{}, casts[cast == 6 ? 0 : std::min(cast, 4)], keys);
        const std::string text = writeAnimationFile(animation);
        const Result<Animation> read = readAnimationFile(text, test::startPose());
        QVERIFY2(read, read ? "" : read.error().message.c_str());
        QCOMPARE(QString::fromStdString(writeAnimationFile(*read)), QString::fromStdString(text));
        if (version == 1) {
            QVERIFY(text.starts_with(kVersionOneHead) && text.ends_with(kVersionOneTail));
            QVERIFY(read->cast() == std::vector<CastFigure>{CastFigure{}});
        } else {
            QVERIFY(text.find("\"version\": " + std::to_string(version) + ",") != std::string::npos);
            QVERIFY(read->cast() == animation.cast());
            QVERIFY(read->keys() == animation.keys());
        }
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
        row("hip a hair past its end", edited("\"hipY\": 210", "\"hipY\": 400.0000000001"),
            "key 1: hipY is 400.0000000001, outside 0 to 400");
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
        row("newer", edited("\"version\": 1", "\"version\": 4"), "the file was made by a newer version of Zelbrook");
        const auto pinned = [](std::string_view from, std::string_view to) {
            return edited(from, to, 1, pinnedFigures());
        };
        // Line 64 is `          "pins": {"rHand": [-3, 1e-07], "lFoot": [210.5, 260]},`.
        row("unknown end", pinned("\"rHand\"", "\"rKnee\""),
            "line 64, column 26: \"rKnee\" is not an end that can be pinned: lHand, rHand, lFoot or rFoot");
        row("pin of one number", pinned("[210.5, 260]", "[210.5]"),
            "key 1: figure 2: pins: lFoot is not two finite numbers");
        row("pin as text", pinned("[210.5, 260]", "[\"210.5\", 260]"),
            "key 1: figure 2: pins: lFoot is not two finite numbers");
        row("pins as a list", pinned(R"({"rHand": [-3, 1e-07], "lFoot": [210.5, 260]})", "[1, 2]"),
            "key 1: figure 2: pins is not a JSON object");
        row("facing up", pinned("\"left\"", "\"up\""), "key 1: figure 2: facing is not \"left\" or \"right\"");
        row("length of a figure of the third key",
            edited("\"bodyLength\": 99.5", "\"bodyLength\": 150", 3, twoFigures()),
            "key 3: figure 2: bodyLength is 150, outside 5 to 100");
        row("colour", edited("#c03020", "#c0302", 1, twoFigures()), "figure 2: color is not #rrggbb");
        row("colour by name", edited("\"#c03020\"", "\"red\"", 1, twoFigures()), "figure 2: color is not #rrggbb");
        row("cast id", edited("{\"id\": 2, ", "{", 1, twoFigures()), "the cast's figure 2: id is missing");
        row("key id", edited("\"id\": 1,\n", "\"id\": 1.5,\n", 1, twoFigures()),
            "key 1: the key's figure 1: id is not a whole number");
        row("unknown figure", edited("\"id\": 2,\n", "\"id\": 9,\n", 2, twoFigures()),
            "key 2: figure 9 is not in the cast");
        row("no cast", castFile("", keyFile({1})), "the file has no figures");
        row("key of version 1", castFile(R"({"id": 1})", R"({"pose": {}})"), "key 1: the figures are missing");
        // The x is byte 15 of the text, the 13th of its second line.
        row("syntax", "{\n  \"format\": x}",
            "line 2, column 13: syntax error while parsing value - invalid literal; "
            "last read: '\"format\": x'");
        row("too large", std::string(16 * 1024 * 1024 + 1, ' '), "the file is larger than 16 MiB");
        // The fourth byte of the second line; byte 33 of one line.
        row("NUL inside", bytes("{\n  \"format\"\0: 1}"),
            "line 2, column 11: a NUL byte, which UTF-8 JSON text never holds");
        row("NUL after the end", std::string("{\"format\": \"zelbrook-animation\"}") + bytes("\0garbage{{{"),
            "line 1, column 33: a NUL byte, which UTF-8 JSON text never holds");
        row("UTF-16 with its mark", bytes("\xFF\xFE{\0}\0"), "the file is UTF-16; Zelbrook reads UTF-8");
        row("UTF-16 without", bytes("\0{\0}"), "the file is UTF-16; Zelbrook reads UTF-8");
        row("UTF-32 without", bytes("{\0\0\0}\0\0\0"), "the file is UTF-32; Zelbrook reads UTF-8");
        row("version as text", edited("\"version\": 1", "\"version\": \"1\""), "version is \"1\", not 1, 2 or 3");
        row("version 0", edited("\"version\": 1", "\"version\": 0"), "version is 0, not 1, 2 or 3");
        row("version 0.5", edited("\"version\": 1", "\"version\": 0.5"), "version is 0.5, not 1, 2 or 3");
        row("version in a list", edited("\"version\": 1", "\"version\": [2]"), "version is an array, not 1, 2 or 3");
        // Line 4 is `  "fps": 99, "fps": 12,`: the second name ends at 18.
        row("twice", edited("\"fps\": 24", "\"fps\": 99, \"fps\": 12"),
            "line 4, column 18: the member \"fps\" is given twice");
        row("twice in a pose", "{\"keys\": [{\"pose\": {\"hipX\": 1, \"hipX\": 2}}]}",
            "line 1, column 37: the member \"hipX\" is given twice");
        // `{"x": ` and 32 brackets: the last opens level 33.
        row("too deep", "{\"x\": " + std::string(32, '[') + std::string(32, ']') + "}",
            "line 1, column 38: the text is nested deeper than 32 levels");
        row("deep enough", "{\"x\": " + std::string(31, '[') + std::string(31, ']') + "}", "Wrong file type");
        row("quoted text cut and escaped", "{\"format\": \"" + std::string(50, 'a') + "\xff\"}",
            "line 1, column 63: syntax error while parsing value - invalid string: ill-formed UTF-8 byte; "
            "last read: '\""
                + QByteArray(39, 'a') + "…'");
        row("number cut", "{\"fps\": 1" + std::string(400, '0') + "}",
            "line 1, column 409: number overflow parsing '1" + QByteArray(39, '0') + "…'");
    }
    void refusesWholeAndSaysWhere()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const Result<Animation> read = readAnimationFile(text.toStdString(), test::startPose());
        QVERIFY(!read);
        QCOMPARE(QString::fromStdString(read.error().message), message);
    }

    // Each text reads as the animation the plain one does.
    void readsWhatItKnowsInAnyOrder_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("plain");
        const std::string plain = writeAnimationFile(twoFigures());
        const auto row = [](const char *name, const std::string &text, const std::string &plain) {
            QTest::newRow(name) << QByteArray::fromStdString(text) << QByteArray::fromStdString(plain);
        };
        row("byte-order mark", "\xEF\xBB\xBF" + plain, plain);
        row("unknown members of any shape",
            edited("\"fps\"", "\"notes\": {\"fps\": [[{}], {\"a\": null}], \"keys\": \"x\"}, \"fps\"", 1, twoFigures()),
            plain);
        row("version 2.0", edited("\"version\": 2", "\"version\": 2.0", 1, twoFigures()), plain);
        row("pins and facing, which version 2 does not have",
            edited("\"penWidth\": 3", "\"penWidth\": 3, \"pins\": {\"lKnee\": 1}, \"facing\": 7", 1, twoFigures()),
            plain);
        const std::string pinnedKey = std::string(R"({"figures": [{"id": 1, "pose": )") + std::string(kPoseJson)
                                      + R"(, "pins": {"lFoot": [1, 2]}, "facing": "left"}]})";
        row("pins before version 2",
            "{\"keys\": [" + pinnedKey
                + "], \"figures\": [{\"id\": 1}], \"version\": 2, \"format\": \"zelbrook-animation\"}",
            castFile("{\"id\": 1}", keyFile({1})));
        row("keys before the version",
            "{\"keys\": [" + keyFile({1})
                + "], \"figures\": [{\"id\": 1}], \"version\": 2, \"format\": \"zelbrook-animation\"}",
            castFile("{\"id\": 1}", keyFile({1})));
    }
    void readsWhatItKnowsInAnyOrder()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, plain);
        const Result<Animation> read = readAnimationFile(text.toStdString(), test::startPose());
        const Result<Animation> expected = readAnimationFile(plain.toStdString(), test::startPose());
        QVERIFY2(read && expected, read ? "" : read.error().message.c_str());
        QCOMPARE(writeAnimationFile(*read), writeAnimationFile(*expected));
    }

    void tellsAnimationsFromPoses_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("animation");
        QTest::newRow("object after a byte-order mark") << QByteArray("\xEF\xBB\xBF{") << true;
        QTest::newRow("UTF-16, which the animation reader names") << QByteArray("\xFF\xFE\"\0", 4) << true;
        QTest::newRow("pose") << QByteArray("\"Zelbrook pose\"\n") << false;
    }
    void tellsAnimationsFromPoses()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, animation);
        QCOMPARE(isAnimationText(text.toStdString()), animation);
    }
    // A shipped walk or run inserted twice goes the way the figure faces, the
    // foot that is down still (within 0.01) in every frame; a jump stays.
    void shippedMovesWalkTheFigureSWay_data()
    {
        QTest::addColumn<QString>("move");
        QTest::addColumn<bool>("left");
        for (const char *move : {"Walk cycle", "Run cycle", "Jump", "Wave"}) {
            QTest::addRow("%s, facing right", move) << move << false;
            QTest::addRow("%s, facing left", move) << move << true;
        }
    }
    void shippedMovesWalkTheFigureSWay()
    {
        QFETCH(QString, move);
        QFETCH(bool, left);
        const QByteArray text = test::fileBytes(QStringLiteral(ZELBROOK_MOVES_DIR "/") + move + ".zba");
        const Result<Animation> shipped = readAnimationFile(text.toStdString(), test::startPose());
        QVERIFY(shipped);
        Figure standing{test::startPose()};
        standing.pose.hipX = 250;
        standing.facing = left ? Facing::Left : Facing::Right;
        AnimationDocument document;
        document.replaceAnimation(Animation(standing));
        for (int insert = 0; insert < 2; ++insert) {
            const Key &current = document.animation().key(document.currentKey());
            QVERIFY(document.insertKeys(document.currentKey() + 1, placedMove(*shipped, current, 1), 1));
        }
        const Animation &animation = document.animation();
        const auto hipX = [&](std::size_t key) { return double(animation.key(key).figures.front().figure.pose.hipX); };
        const double way = (hipX(animation.keyCount() - 1) - hipX(1)) * (left ? -1 : 1);
        const bool travels = move.endsWith("cycle");
        QVERIFY2(travels ? way > 40 : way == 0, qPrintable(QString::number(way)));
        int held = 0;
        // The last key's in-betweens lead back to the first, elsewhere.
        for (std::size_t at = 0; at < animation.firstFrameOf(animation.keyCount() - 1); ++at) {
            const FrameRef frame = animation.frameAt(at);
            const Figure &from = animation.key(frame.key).figures.front().figure;
            const Figure shown = animation.figureAt(frame);
            QCOMPARE(shown.facing, standing.facing);
            for (const Limb foot : {Limb::LFoot, Limb::RFoot}) {
                const std::optional<Point> &pin = from.pin(foot);
                if (!pin || pin != animation.key(frame.key + 1).figures.front().figure.pin(foot))
                    continue;
                const Point end = limbJoints(shown.pose, foot).end;
                QVERIFY2(std::hypot(end.x - pin->x, end.y - pin->y) <= 0.01, qPrintable(QString::number(at)));
                ++held;
            }
        }
        QVERIFY2(travels ? held >= 8 : held == 0, qPrintable(QString::number(held)));
    }
};

QTEST_APPLESS_MAIN(TestAnimationFile)
#include "tst_animation_file.moc"
