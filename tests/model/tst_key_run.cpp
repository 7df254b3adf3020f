// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"

#include <QTest>

#include <ranges>

using namespace zelbrook;

namespace {

// "1 Ann, 2 Bob, 3 Cy #123456" for a cast (the colour of black figures
// left out), then the last key's figures as their ids and hip x, "1@1+2@2".
QString castOf(const Animation &animation)
{
    QStringList cast, keys;
    for (const CastFigure &f : animation.cast())
        cast << QStringLiteral("%1 %2%3").arg(f.id).arg(
            QString::fromStdString(f.name), f.color ? " " + QString::fromStdString(colorText(f.color)) : QString());
    for (const KeyFigure &figure : animation.keys().back().figures)
        keys << QStringLiteral("%1@%2").arg(figure.id).arg(figure.figure.pose.hipX);
    return cast.join(", ") + " / " + keys.join('+');
}

// The cast as castOf() shows it, in one key, each figure's hip x its id.
Animation animationOf(const QString &cast)
{
    std::vector<CastFigure> figures;
    std::vector<KeyFigure> held;
    for (const QStringList parts : cast.split(", ") | std::views::transform([](auto e) { return e.split(' '); })) {
        const Color color = parts.size() > 2 ? *colorFromText(parts[2].toStdString()) : kBlack;
        figures.push_back({parts[0].toInt(), parts[1].toStdString(), color});
        held.push_back({parts[0].toInt(), Figure{Pose{parts[0].toFloat()}}});
    }
    return Animation(Playback{}, figures, {Key(held)});
}

} // namespace

class TestKeyRun : public QObject
{
    Q_OBJECT

private slots:
    // Ann and Bob, ids 1 and 2, take keys pasted after their one key; a
    // pasted figure keeps its pose, its hip x being its id in the source.
    void pastedFiguresFindTheirOwn_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("byId");
        QTest::addColumn<QString>("after"); // the cast, then the keys' figures

        QTest::newRow("by name") << "1 Bob, 7 Cy #123456" << false << "1 Ann, 2 Bob, 3 Cy #123456 / 2@1+3@7";
        QTest::newRow("by id") << "1 Bob, 7 Cy #123456" << true << "1 Ann, 2 Bob, 3 Cy #123456 / 1@1+3@7";
        QTest::newRow("an id gone, its name kept") << "5 Bob" << true << "1 Ann, 2 Bob / 2@5";
        QTest::newRow("a name taken by an id")
            << "1 Bob, 9 Ann #00ff00" << true << "1 Ann, 2 Bob, 3 Ann 2 #00ff00 / 1@1+3@9";
        QTest::newRow("the target's drawing order") << "4 Bob, 3 Ann" << false << "1 Ann, 2 Bob / 1@3+2@4";
    }

    void pastedFiguresFindTheirOwn()
    {
        QFETCH(QString, source);
        QFETCH(bool, byId);
        QFETCH(QString, after);
        AnimationDocument document;
        document.replaceAnimation(animationOf("1 Ann, 2 Bob"));
        const auto match = byId ? FigureMatch::ById : FigureMatch::ByName;
        QVERIFY(document.pasteKeys(animationOf(source), match, KeyOrder::AsTheyCame));
        QCOMPARE(castOf(document.animation()), after);
        document.undo();
        QCOMPARE(castOf(document.animation()), "1 Ann, 2 Bob / 1@1+2@2");
    }
};

QTEST_GUILESS_MAIN(TestKeyRun)
#include "tst_key_run.moc"
