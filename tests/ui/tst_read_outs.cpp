#include "form1_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>

using namespace zelbrook;

namespace {

// The window after opening a pose whose head width is 0.705: its slider
// stays at 70 and the box shows the file's value.
struct LoadedWindow : ActiveWindow {
    LoadedWindow()
    {
        Pose loaded = window->pose();
        loaded.headWidth = 0.705;
        window->takeLoadedPose(loaded);
        window->document().clearHistory();
    }
};

} // namespace

class TestReadOuts : public QObject
{
    Q_OBJECT

private slots:
    void typedValuesGoToTheDocument_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed"); // null: the box is not edited
        QTest::addColumn<int>("leaving");   // the key that leaves the box
        QTest::addColumn<QString>("slider");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("step");

        const int enter = Qt::Key_Return, tab = Qt::Key_Tab;
        QTest::newRow("0.7 over 0.705") << "headwidthDisplay"
                                        << "0.7" << enter << "HeadwidthScroll" << 70 << "0.7" << true;
        QTest::newRow("left with a new value") << "bodylengthDisplay"
                                               << "50" << tab << "BodyLengthScroll" << 50 << "50" << true;
        QTest::newRow("left with no number") << "bodylengthDisplay"
                                             << "long" << tab << "BodyLengthScroll" << 35 << "35" << false;
        QTest::newRow("tabbed through") << "headwidthDisplay" << QString() << tab << "HeadwidthScroll" << 70 << "0.705"
                                        << false;
        QTest::newRow("Enter unedited") << "headwidthDisplay" << QString() << enter << "HeadwidthScroll" << 70
                                        << "0.705" << false;
        QTest::newRow("empty box, new value") << "ResizeDisplay"
                                              << "2" << tab << "ResizeScroll" << 20 << "2" << true;
        QTest::newRow("empty box, same value") << "ResizeDisplay"
                                               << "1" << tab << "ResizeScroll" << 10 << "" << false;
        QTest::newRow("empty box, no number") << "RotateDisplay"
                                              << "x" << enter << "RotateScroll" << 0 << "" << false;
        QTest::newRow("empty box, Enter")
            << "LinewidthDisplay" << QString() << enter << "LineWidthScroll" << 2 << "" << false;
        QTest::newRow("empty box, Escape") << "LinewidthDisplay"
                                           << "5" << int(Qt::Key_Escape) << "LineWidthScroll" << 2 << "" << false;
    }

    // A value that moves its slider is one step, and undo puts back the
    // exact value from before; anything else leaves no step.
    void typedValuesGoToTheDocument()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, leaving);
        QFETCH(QString, slider);
        QFETCH(int, position);
        QFETCH(QString, shown);
        QFETCH(bool, step);
        LoadedWindow w;
        const Pose before = w.window->pose();
        QLineEdit *edit = w.window->display(box.toStdString());
        edit->setFocus();
        if (!typed.isNull()) {
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        }
        QTest::keyClick(edit, Qt::Key(leaving));
        QCOMPARE(w.slider(slider.toLatin1())->Value(), position);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(w.window->document().canUndo(), step);
        w.window->document().undo();
        QCOMPARE(w.window->pose(), before);
        QVERIFY(!w.window->document().canUndo());
        // An empty box fills once its slider moves.
        QVERIFY(w.slider(slider.toLatin1())->setValue(std::int16_t(position + 1)));
        QVERIFY(!edit->text().isEmpty());
    }

    void pasteIsOfferedForTextOnly_data()
    {
        QTest::addColumn<QString>("text"); // null: the clipboard holds no text
        QTest::addColumn<bool>("offered");
        QTest::newRow("no text") << QString() << false;
        QTest::newRow("empty text") << "" << false;
        QTest::newRow("some text") << "10135" << true;
    }

    void pasteIsOfferedForTextOnly()
    {
        QFETCH(QString, text);
        QFETCH(bool, offered);
        ActiveWindow w;
        QApplication::clipboard()->setText(QStringLiteral("x"));
        if (text.isNull())
            QApplication::clipboard()->clear();
        else
            QApplication::clipboard()->setText(text);
        QAction *paste = w.window->findChild<QMenu *>()->actions().last();
        QCOMPARE(paste->text(), QStringLiteral("Paste pose"));
        QTRY_COMPARE(paste->isEnabled(), offered);
    }
};

QTEST_MAIN(TestReadOuts)
#include "tst_read_outs.moc"
