// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/animation_document.h"

#include "test_support.h"

#include <QTest>

using namespace zelbrook;

namespace {

// "1 Figure 1, 2 Thrower #112233 / [1@250 2@350] [1@250] / key 1 figure 2":
// the cast in drawing order, each key's figures with their hip x, and the
// current key and figure.
QString stateOf(const AnimationDocument &document)
{
    QStringList cast;
    for (const CastFigure &figure : document.animation().cast()) {
        cast << QStringLiteral("%1 %2").arg(figure.id).arg(QString::fromStdString(figure.name))
                    + (figure.color == kBlack ? QString() : " " + QString::fromStdString(colorText(figure.color)));
    }
    QStringList keys;
    for (const Key &key : document.animation().keys()) {
        QStringList figures;
        for (const KeyFigure &figure : key.figures)
            figures << QStringLiteral("%1@%2").arg(figure.id).arg(figure.figure.pose.hipX);
        keys << '[' + figures.join(' ') + ']';
    }
    return cast.join(", ") + " / " + keys.join(' ')
           + QStringLiteral(" / key %1 figure %2").arg(document.currentKey()).arg(document.currentFigure());
}

// One word of a script: "kN" or "fN" chooses a key or a figure, "xN" moves
// the current figure's hip, "bN" brings figure N back, "cN" colours it,
// "rN:new_name" renames it; "up" and "down" move the current figure in the
// drawing order; the rest are the commands named.
Status perform(AnimationDocument &document, const QString &word)
{
    using Direction = AnimationDocument::Direction;
    const int n = word.mid(1).section(':', 0, 0).toInt();
    Figure moved = document.figure();
    moved.pose.hipX = float(n);
    switch (word.at(0).toLatin1()) {
    case 'k':
        document.setCurrentKey(std::size_t(n));
        return {};
    case 'f':
        document.setCurrentFigure(n);
        return {};
    case 'x':
        document.setFigure(moved, ChangeKind::Edit);
        return {};
    case 'b':
        return document.bringBackFigure(n);
    case 'c':
        return document.setFigureColor(n, 0x112233);
    case 'r':
        return document.renameFigure(n, word.section(':', 1).replace('_', ' ').toStdString());
    }
    return word == "add"    ? document.addFigure(Figure{test::startPose()})
           : word == "dup"  ? document.duplicateFigure()
           : word == "del"  ? document.deleteFigure()
           : word == "up"   ? document.moveFigure(Direction::Later)
           : word == "down" ? document.moveFigure(Direction::Earlier)
                            : document.deleteKey();
}

} // namespace

class TestCastDocument : public QObject
{
    Q_OBJECT

private slots:
    // Three keys of one figure, its hip at 250; the first key is current.
    void castCommandsUndoAndRedoExactly_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("refusal");
        const auto row = [](const char *script, const char *state, const char *refusal = "") {
            QTest::newRow(script) << script << state << refusal;
        };
        row("k1 add", "1 Figure 1, 2 Figure 2 / [1@250] [1@250 2@350] [1@250 2@350] / key 1 figure 2");
        row("x450 add", "1 Figure 1, 2 Figure 2 / [1@450 2@50] [1@250 2@50] [1@250 2@50] / key 0 figure 2");
        row("r1:Thrower c1 dup",
            "1 Thrower #112233, 2 Thrower 2 #112233 / [1@250 2@280] [1@250 2@280] [1@250 2@280] / key 0 figure 2");
        row("dup", "1 Figure 1, 2 Figure 2 / [1@250 2@280] [1@250 2@280] [1@250 2@280] / key 0 figure 2");
        row("c1", "1 Figure 1 #112233 / [1@250] [1@250] [1@250] / key 0 figure 1");
        row("add k1 del", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [1@250] [1@250] / key 1 figure 1");
        row("k1 add del add", "1 Figure 1, 3 Figure 3 / [1@250] [1@250 3@350] [1@250 3@350] / key 1 figure 3");
        row("add k1 del b2", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [1@250 2@350] [1@250] / key 1 figure 2");
        row("k1 add x400 k0 b2", "1 Figure 1, 2 Figure 2 / [1@250 2@400] [1@250 2@400] [1@250 2@350] / key 0 figure 2");
        row("add down", "2 Figure 2, 1 Figure 1 / [2@350 1@250] [2@350 1@250] [2@350 1@250] / key 0 figure 2");
        row("add down up", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [1@250 2@350] [1@250 2@350] / key 0 figure 2");
        row("k2 add delkey", "1 Figure 1 / [1@250] [1@250] / key 1 figure 1");
        row("k1 add k0", "1 Figure 1, 2 Figure 2 / [1@250] [1@250 2@350] [1@250 2@350] / key 0 figure 1");
        row("add f1", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [1@250 2@350] [1@250 2@350] / key 0 figure 1");
        row("del", "1 Figure 1 / [1@250] [1@250] [1@250] / key 0 figure 1", "figure 1 is the only figure of key 1");
        row("add k1 f1 del k0 f2 del", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [2@350] [2@350] / key 0 figure 2",
            "figure 2 is the only figure of key 2");
        row("add r1:Figure_2", "1 Figure 1, 2 Figure 2 / [1@250 2@350] [1@250 2@350] [1@250 2@350] / key 0 figure 2",
            "figures 1 and 2 are both named \"Figure 2\"");
        row("down", "1 Figure 1 / [1@250] [1@250] [1@250] / key 0 figure 1", "the figure is at the back already");
        row("b1", "1 Figure 1 / [1@250] [1@250] [1@250] / key 0 figure 1", "key 1 holds figure 1 already");
        row("r1:", "1 Figure 1 / [1@250] [1@250] [1@250] / key 0 figure 1", "figure 1: the name is empty");
    }
    void castCommandsUndoAndRedoExactly()
    {
        QFETCH(QString, script);
        QFETCH(QString, state);
        QFETCH(QString, refusal);
        Figure start{test::startPose()};
        start.pose.hipX = 250;
        AnimationDocument document;
        document.replaceAnimation(Animation(Playback{}, std::vector<Key>(3, Key{start})));
        QStringList before, after;
        Status last;
        for (const QString &word : script.split(' ')) {
            const QString was = stateOf(document);
            last = perform(document, word);
            if (last && !word.startsWith('k') && !word.startsWith('f')) {
                before.prepend(was);
                after << stateOf(document);
            }
        }
        QCOMPARE(QString::fromStdString(last ? std::string() : last.error().message), refusal);
        QCOMPARE(stateOf(document), state);
        for (const QString &expected : before) {
            QVERIFY(document.undo());
            QCOMPARE(stateOf(document), expected);
        }
        QVERIFY(!document.canUndo());
        for (const QString &expected : after) {
            QVERIFY(document.redo());
            QCOMPARE(stateOf(document), expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestCastDocument)
#include "tst_cast_document.moc"
