// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation.h"

#include "test_support.h"

#include <QTest>

#include <functional>

using namespace zelbrook;

namespace {

KeyFigure figureOf(FigureId id, double bodyLength)
{
    KeyFigure figure{id, Figure{test::startPose()}};
    figure.figure.pose.bodyLength = bodyLength;
    return figure;
}

// The figures of a frame as "id:bodyLength", in drawing order.
QString sceneText(const std::vector<SceneFigure> &scene)
{
    QStringList text;
    for (const SceneFigure &figure : scene)
        text << QStringLiteral("%1:%2").arg(figure.id).arg(figure.figure.pose.bodyLength);
    return text.join(' ');
}

// Figures 3, 1 and 2 from back to front; each key holds two of them.
Animation threeFigures()
{
    return Animation(Playback{12, true}, {{3, "Front", 0xc03020}, {1, "Figure 1", kBlack}, {2, "Thrower", 0x0000ff}},
                     {Key({figureOf(1, 20), figureOf(2, 40)}, 2, 1), Key({figureOf(1, 30), figureOf(3, 50)}, 1, 1),
                      Key({figureOf(2, 60), figureOf(3, 70)}, 1, 1)});
}

// What a case makes of the cast and keys of threeFigures().
struct Parts {
    std::vector<CastFigure> cast;
    std::vector<Key> keys;
};
using Change = std::function<void(Parts &)>;

} // namespace

Q_DECLARE_METATYPE(Change)

class TestCast : public QObject
{
    Q_OBJECT

private slots:
    // Worked out by hand: a linear in-between of one is halfway.
    void figuresEnterAndLeaveAtKeys_data()
    {
        QTest::addColumn<int>("frame");
        QTest::addColumn<QString>("scene");
        QTest::newRow("key 1") << 0 << "1:20 2:40";
        QTest::newRow("key 1 held") << 1 << "1:20 2:40";
        QTest::newRow("figure 2 is not in key 2") << 2 << "1:25";
        QTest::newRow("key 2, figure 3 behind") << 3 << "3:50 1:30";
        QTest::newRow("figure 1 is not in key 3") << 4 << "3:60";
        QTest::newRow("key 3") << 5 << "3:70 2:60";
        QTest::newRow("back to key 1") << 6 << "2:50";
    }
    void figuresEnterAndLeaveAtKeys()
    {
        QFETCH(int, frame);
        QFETCH(QString, scene);
        const Animation animation = threeFigures();
        QVERIFY2(animation.check(), animation.check() ? "" : animation.check().error().message.c_str());
        const std::vector<SceneFigure> shown = animation.sceneAt(animation.frames().at(std::size_t(frame)));
        QCOMPARE(sceneText(shown), scene);
        for (const SceneFigure &figure : shown)
            QCOMPARE(figure.color, figure.id == 3 ? 0xc03020u : figure.id == 2 ? 0x0000ffu : kBlack);
    }

    void checkRefusesAndSaysWhere_data()
    {
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("message");
        const auto named = [](std::string name) { return Change([name](Parts &p) { p.cast[2].name = name; }); };
        QTest::newRow("unknown figure") << Change([](Parts &p) { p.keys[0].figures[0].id = 9; })
                                        << "key 1: figure 9 is not in the cast";
        QTest::newRow("id twice in the cast") << Change([](Parts &p) {
            p.cast.push_back({1, "Figure 9"});
        }) << "figure 1 is in the cast twice";
        QTest::newRow("id twice in a key") << Change([](Parts &p) { p.keys[1].figures.push_back(figureOf(3, 5)); })
                                           << "key 2: figure 3 is in the key twice";
        QTest::newRow("name twice") << named("Front") << "figures 3 and 2 are both named \"Front\"";
        QTest::newRow("empty key") << Change([](Parts &p) { p.keys[2].figures.clear(); }) << "key 3 has no figure";
        QTest::newRow("in no key") << Change([](Parts &p) {
            p.cast.push_back({4, "Figure 4"});
        }) << "figure 4 is in no key";
        QTest::newRow("empty name") << named("") << "figure 2: the name is empty";
        QTest::newRow("control character") << named("Line\nbreak") << "figure 2: the name holds a control character";
        QTest::newRow("right-to-left override")
            << named("Thr\xe2\x80\xaeower") << "figure 2: the name holds a control character";
        QTest::newRow("pop directional isolate")
            << named("Thrower\xe2\x81\xa9") << "figure 2: the name holds a control character";
        QTest::newRow("narrow no-break space, next to the overrides") << named("Thr\xe2\x80\xafower") << "";
        QTest::newRow("101 characters") << named(std::string(101, 'x'))
                                        << "figure 2: the name is longer than 100 characters";
        QTest::newRow("not UTF-8") << named("\xc3(") << "figure 2: the name is not UTF-8 text";
        QTest::newRow("101 figures") << Change([](Parts &p) {
            for (FigureId id = 4; id <= 101; ++id) {
                p.cast.push_back({id, defaultFigureName(id)});
                p.keys[0].figures.push_back({id, Figure{}});
            }
        }) << "the cast has 101 figures, more than 100";
        QTest::newRow("pen of one of several") << Change([](Parts &p) { p.keys[0].figures[1].figure.penWidth = 9; })
                                               << "key 1: figure 2: penWidth is 9, outside 1 to 7";
        std::string twoByteCharacters;
        for (int i = 0; i < 100; ++i)
            twoByteCharacters += "\xc3\xa9";
        QTest::newRow("100 two-byte characters") << named(twoByteCharacters) << "";
    }
    void checkRefusesAndSaysWhere()
    {
        QFETCH(Change, change);
        QFETCH(QString, message);
        Parts parts{threeFigures().cast(), threeFigures().keys()};
        change(parts);
        const Status checked = Animation(Playback{}, parts.cast, parts.keys).check();
        QCOMPARE(QString::fromStdString(checked ? std::string() : checked.error().message), message);
    }

    void newFiguresGetNamesOfTheirOwn_data()
    {
        QTest::addColumn<QStringList>("cast");
        QTest::addColumn<QString>("copyOf");
        QTest::addColumn<QString>("name");
        QTest::newRow("new figure 3") << QStringList{"Figure 1", "Figure 2"} << ""
                                      << "Figure 3";
        QTest::newRow("new figure 3, its name taken") << QStringList{"Figure 3", "Figure 4"} << ""
                                                      << "Figure 5";
        QTest::newRow("first copy") << QStringList{"Thrower"} << "Thrower"
                                    << "Thrower 2";
        QTest::newRow("second copy") << QStringList{"Thrower", "Thrower 2"} << "Thrower"
                                     << "Thrower 3";
        QTest::newRow("copy of a copy") << QStringList{"Thrower", "Thrower 2"} << "Thrower 2"
                                        << "Thrower 3";
        QTest::newRow("a number of its own") << QStringList{"Route 66"} << "Route 66"
                                             << "Route 66 2";
        QTest::newRow("longest") << QStringList{QString(100, 'x')} << QString(100, 'x') << QString(98, 'x') + " 2";
    }
    void newFiguresGetNamesOfTheirOwn()
    {
        QFETCH(QStringList, cast);
        QFETCH(QString, copyOf);
        QFETCH(QString, name);
        std::vector<CastFigure> figures;
        for (const QString &taken : cast)
            figures.push_back({FigureId(figures.size() + 1), taken.toStdString()});
        const std::string made =
            copyOf.isEmpty() ? newFigureName(3, figures) : copyFigureName(copyOf.toStdString(), figures);
        QCOMPARE(QString::fromStdString(made), name);
    }
};

QTEST_APPLESS_MAIN(TestCast)
#include "tst_cast.moc"
