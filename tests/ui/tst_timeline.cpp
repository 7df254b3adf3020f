#include "form1_fixture.h"

#include "export/exporter.h"
#include "model/program_info.h"
#include "ui/animation_player.h"
#include "ui/timeline_cells.h"
#include "ui/timeline_commands.h"
#include "ui/timeline_strip.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>

using namespace zelbrook;

namespace {

// Every control of today's window with its place and whether it shows.
QStringList layoutOf(const Form1 &window)
{
    QStringList rows{QStringLiteral("%1x%2").arg(window.width()).arg(window.height())};
    for (QWidget *child : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QRect g = child->geometry();
        rows << QStringLiteral("%1 %2,%3 %4x%5 %6")
                    .arg(child->objectName())
                    .arg(g.x())
                    .arg(g.y())
                    .arg(g.width())
                    .arg(g.height())
                    .arg(child->isVisibleTo(&window));
    }
    return rows;
}

bool hasColor(const QImage &image, QRgb color)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((rgb.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF))
                return true;
    return false;
}

} // namespace

class TestTimeline : public QObject
{
    Q_OBJECT

private slots:
    void hidingGivesBackTodaysWindow_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("Ctrl+T") << false;
        QTest::newRow("context menu") << true;
    }

    void hidingGivesBackTodaysWindow()
    {
        QFETCH(bool, fromMenu);
        ActiveWindow w;
        const QStringList today = layoutOf(*w.window);
        QCOMPARE(today.first(), QStringLiteral("717x524"));
        QAction *toggle = w.window->findChild<QMenu *>()->actions().at(9);
        const auto showOrHide = [&] { fromMenu ? toggle->trigger() : w.keys(QKeySequence(Qt::CTRL | Qt::Key_T)); };
        showOrHide();
        QCOMPARE(w.window->size(), QSize(717, 524 + TimelineStrip::kHeight));
        QCOMPARE(w.window->timeline().strip()->geometry(), QRect(0, 524, 717, TimelineStrip::kHeight));
        QCOMPARE(toggle->text(), QStringLiteral("Hide timeline"));
        showOrHide();
        QCOMPARE(layoutOf(*w.window), today);
    }

    // Tab reaches the row of keys, three number boxes, the ease, two
    // switches and seven buttons, each with a name of its own.
    void tabReachesEveryNamedControl()
    {
        ActiveWindow w;
        w.window->timeline().setShown(true);
        QSet<QString> names;
        QWidget *widget = w.window->Picture1();
        for (int i = 0; i < 200 && names.size() < 14; ++i) {
            widget = widget->nextInFocusChain();
            if (!(widget->focusPolicy() & Qt::TabFocus) || !w.window->timeline().strip()->isAncestorOf(widget)
                || !widget->isVisibleTo(w.window.get()))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
            QVERIFY2(!name.isEmpty(), qPrintable(widget->metaObject()->className()));
            names.insert(name);
        }
        QCOMPARE(names.size(), 14);
    }

    // Keys pressed in turn, then the keys, the current one and which of
    // delete, previous, next, earlier and later can act.
    void keyCommands_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("enabled");

        QTest::newRow("one key") << "" << 1 << 0 << "00000";
        QTest::newRow("add") << "Ctrl+K" << 2 << 1 << "11010";
        QTest::newRow("add twice, previous") << "Ctrl+K,Ctrl+K,Alt+Left" << 3 << 1 << "11111";
        QTest::newRow("previous stops at the first") << "Ctrl+K,Alt+Left,Alt+Left" << 2 << 0 << "10101";
        QTest::newRow("next stops at the last") << "Ctrl+K,Alt+Right" << 2 << 1 << "11010";
        QTest::newRow("delete") << "Ctrl+K,Ctrl+K,Ctrl+Shift+K" << 2 << 1 << "11010";
        QTest::newRow("the last key stays") << "Ctrl+Shift+K" << 1 << 0 << "00000";
        QTest::newRow("move earlier") << "Ctrl+K,Ctrl+Shift+PgUp" << 2 << 0 << "10101";
        QTest::newRow("move later") << "Ctrl+K,Alt+Left,Ctrl+Shift+PgDown" << 2 << 1 << "11010";
        QTest::newRow("undo an add") << "Ctrl+K,Ctrl+K,Ctrl+Z" << 2 << 1 << "11010";
    }

    void keyCommands()
    {
        QFETCH(QString, pressed);
        QFETCH(int, keys);
        QFETCH(int, current);
        QFETCH(QString, enabled);
        ActiveWindow w;
        for (const QString &sequence : pressed.split(',', Qt::SkipEmptyParts))
            w.keys(QKeySequence(sequence));
        QCOMPARE(int(w.window->document().animation().keyCount()), keys);
        QCOMPARE(int(w.window->document().currentKey()), current);
        QCOMPARE(w.window->timeline().isShown(), keys > 1);
        QMenu *menu = w.window->findChild<QMenu *>();
        emit menu->aboutToShow();
        QString state;
        for (int i = 11; i < 16; ++i)
            state += menu->actions().at(i)->isEnabled() ? '1' : '0';
        QCOMPARE(state, enabled);
    }

    // A click takes the key's exact values, rounds nothing and is no step.
    void clickingACellShowsItsKey()
    {
        ActiveWindow w;
        Figure exact = w.window->document().figure();
        exact.pose.headWidth = 0.705;
        w.window->document().replaceAnimation(Animation(Playback{}, {Key{exact}, Key{Figure{}}}));
        w.window->timeline().setShown(true);
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        TimelineCells *cells = w.window->timeline().strip()->cells();
        QTest::mouseClick(cells, Qt::LeftButton, {}, cells->cellRect(0).center());
        QCOMPARE(w.window->document().currentKey(), std::size_t(0));
        QCOMPARE(w.window->pose().headWidth, 0.705);
        QCOMPARE(w.text("headwidthDisplay"), QStringLiteral("0.705"));
        QCOMPARE(w.slider("HeadwidthScroll")->Value(), 70);
        QVERIFY(!w.window->document().canUndo());
    }

    void aKeyPictureIsDrawnOnlyWhenItsKeyChanges()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        TimelineCells *cells = w.window->timeline().strip()->cells();
        cells->grab();
        const int drawn = cells->picturesDrawn();
        QVERIFY(w.slider("BodyangleScroll")->setValue(90));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        cells->grab();
        QCOMPARE(cells->picturesDrawn(), drawn + 1);
    }

    // The screen shows the keys before and after in their colours; the
    // copied and saved pictures never do.
    void onionSkinOnlyOnScreen()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        QVERIFY(hasColor(w.picture(), 0xFF8080));
        QVERIFY(hasColor(w.picture(), 0x8080FF));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Right));
        QVERIFY(!hasColor(w.picture(), 0x8080FF));
        w.keys(QKeySequence(Qt::ALT | Qt::Key_Left));
        const QImage alone = Exporter().picture(w.window->document().figure(), kProgramCaption);
        w.keys(QKeySequence::Copy);
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 alone.convertToFormat(QImage::Format_RGB32));
        const QString bitmap = QDir::temp().filePath(QStringLiteral("zelbrook-onion.bmp"));
        w.answers = {bitmap};
        w.keys(QKeySequence(Qt::CTRL | Qt::Key_E));
        QCOMPARE(QImage(bitmap).convertToFormat(QImage::Format_RGB32), alone.convertToFormat(QImage::Format_RGB32));
        QFile::remove(bitmap);
        w.window->timeline().play();
        QVERIFY(!hasColor(w.picture(), 0xFF8080));
    }

    void framesAreDueFromTheStart_data()
    {
        QTest::addColumn<int>("milliseconds");
        QTest::addColumn<int>("fps");
        QTest::addColumn<int>("due");
        QTest::addColumn<int>("nextAt");
        QTest::newRow("start") << 0 << 12 << 0 << 84;
        QTest::newRow("just before the second") << 83 << 12 << 0 << 84;
        QTest::newRow("the second") << 84 << 12 << 1 << 167;
        QTest::newRow("one second on") << 1000 << 12 << 12 << 1084;
        QTest::newRow("sixty a second") << 999 << 60 << 59 << 1000;
        QTest::newRow("one a second") << 59999 << 1 << 59 << 60000;
    }

    void framesAreDueFromTheStart()
    {
        QFETCH(int, milliseconds);
        QFETCH(int, fps);
        QFETCH(int, due);
        QFETCH(int, nextAt);
        QCOMPARE(int(AnimationPlayer::framesDueAfter(milliseconds, fps)), due);
        QCOMPARE(int(AnimationPlayer::dueTimeOf(std::size_t(due) + 1, fps)), nextAt);
    }

    // Playing shows frames without ghosts; an edit stops it, takes effect
    // on the current key, and the screen shows that key again.
    void anEditStopsPlaying()
    {
        ActiveWindow w;
        w.makeThreeKeys();
        w.window->Picture1()->setFocus();
        QTest::keyClick(w.window->Picture1(), Qt::Key_Space);
        QVERIFY(w.window->timeline().isPlaying());
        QVERIFY(!hasColor(w.picture(), 0xFF8080));
        QVERIFY(w.slider("BodyangleScroll")->setValue(45));
        QVERIFY(!w.window->timeline().isPlaying());
        QCOMPARE(w.window->document().currentKey(), std::size_t(1));
        QCOMPARE(w.window->pose().bodyAngle, 45 / 57.3);
        QVERIFY(hasColor(w.picture(), 0xFF8080));
    }
};

QTEST_MAIN(TestTimeline)
#include "tst_timeline.moc"
