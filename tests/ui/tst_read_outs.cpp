// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"

using namespace zelbrook;

class TestReadOuts : public QObject
{
    Q_OBJECT

private slots:
    void typedValues_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("leaving"); // the key that leaves the box
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("position"); // where the slider stands afterwards
        QTest::addColumn<QString>("slider");
        QTest::addColumn<bool>("step");
        QTest::addColumn<QString>("shown");

        const int enter = Qt::Key_Return, tab = Qt::Key_Tab, escape = Qt::Key_Escape;
        QTest::newRow("180.4 rounds") << "llegangle2display" << enter << "180.4" << 180 << "llegAngle2Scroll" << true
                                      << "180";
        QTest::newRow("180.6 refused") << "llegangle2display" << enter << "180.6" << 2 << "llegAngle2Scroll" << false
                                       << "2";
        QTest::newRow("comma") << "llegangle2display" << enter << "1,5" << 2 << "llegAngle2Scroll" << false << "2";
        QTest::newRow("in box units") << "headwidthDisplay" << enter << "1.255" << 126 << "HeadwidthScroll" << true
                                      << "1.26";
        QTest::newRow("0.7 over 0.705") << "headwidthDisplay" << enter << "0.7" << 70 << "HeadwidthScroll" << true
                                        << "0.7";
        QTest::newRow("left, value") << "bodylengthDisplay" << tab << "50" << 50 << "BodyLengthScroll" << true << "50";
        QTest::newRow("left, no number") << "bodylengthDisplay" << tab << "long" << 35 << "BodyLengthScroll" << false
                                         << "35";
        QTest::newRow("Escape") << "bodyangleDisplay" << escape << "77" << 0 << "BodyangleScroll" << false << "0";
        QTest::newRow("tabbed through") << "headwidthDisplay" << tab << "" << 70 << "HeadwidthScroll" << false
                                        << "0.705";
        QTest::newRow("Enter unedited") << "headwidthDisplay" << enter << "" << 70 << "HeadwidthScroll" << false
                                        << "0.705";
        QTest::newRow("empty, value") << "ResizeDisplay" << tab << "2.5" << 25 << "ResizeScroll" << true << "2.5";
        QTest::newRow("empty, same value") << "ResizeDisplay" << tab << "1" << 10 << "ResizeScroll" << false << "";
        QTest::newRow("empty, no number") << "RotateDisplay" << enter << "x" << 0 << "RotateScroll" << false << "";
        QTest::newRow("empty, Enter") << "LinewidthDisplay" << enter << "" << 2 << "LineWidthScroll" << false << "";
        QTest::newRow("empty, Escape") << "LinewidthDisplay" << escape << "5" << 2 << "LineWidthScroll" << false << "";
    }

    // Over a pose whose head width came from a file as 0.705 (slider at 70).
    // A value that moves the document is one step, and undo puts back the
    // exact value from before.
    void typedValues()
    {
        QFETCH(QString, box);
        QFETCH(int, leaving);
        QFETCH(QString, typed);
        QFETCH(int, position);
        QFETCH(QString, slider);
        QFETCH(bool, step);
        QFETCH(QString, shown);
        ActiveWindow w;
        Pose loaded = w.window->pose();
        loaded.headWidth = 0.705;
        w.window->takeLoadedPose(loaded);
        w.window->document().clearHistory();
        QLineEdit *edit = w.window->display(box.toStdString());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key(leaving));
        QCOMPARE(w.slider(slider.toLatin1())->Value(), position);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(w.window->document().undo(), step);
        QCOMPARE(w.window->pose(), loaded);
    }
};

QTEST_MAIN(TestReadOuts)
#include "tst_read_outs.moc"
