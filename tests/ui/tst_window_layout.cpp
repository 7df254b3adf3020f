// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "ui/control_table.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyleOptionFrame>
#include <QTest>

using namespace zelbrook;

namespace {

// The room a line edit leaves for its text.
int roomForText(QLineEdit *box)
{
    QStyleOptionFrame option;
    option.initFrom(box);
    option.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, box);
    const QRect contents = box->style()->subElementRect(QStyle::SE_LineEditContents, &option, box);
    const QMargins margins = box->textMargins();
    constexpr int kLineEditInnerMargin = 2; // QLineEdit keeps this much on each side
    return contents.width() - margins.left() - margins.right() - 2 * kLineEditInnerMargin;
}

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    // "Line width" stands under the left end of its slider; a click on the
    // slider's left arrow must still reach the slider and lower the pen.
    void theLineWidthArrowTakesClicks()
    {
        Form1Fixture f;
        const QPoint arrow(536, 512);
        QWidget *target = f.window->childAt(arrow);
        QCOMPARE(target, f.slider("LineWidthScroll"));
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(f.window.get(), arrow));
        QCOMPARE(f.slider("LineWidthScroll")->Value(), 1);
        QCOMPARE(f.window->Picture1()->canvas().DrawWidth(), 1);
    }

    void tabOrderFollowsTheTable()
    {
        Form1Fixture f;
        QStringList expected;
        for (const ControlRow &entry : controlTable())
            if (entry.tab >= 0 && entry.kind != ControlKind::Label)
                expected << QString::fromLatin1(entry.name.data(), entry.name.size());
        QStringList walked;
        QWidget *widget = f.window->Picture1();
        do {
            if (widget->focusPolicy() & Qt::TabFocus && widget->isVisibleTo(f.window.get()))
                walked << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != f.window->Picture1() && walked.size() < 100);
        walked.removeAll(QString()); // the window itself
        walked.removeAll(QStringLiteral("Form1"));
        QCOMPARE(walked, expected);
    }

    void fixedWindowWithACloseBoxOnly()
    {
        Form1Fixture f;
        QCOMPARE(f.window->size(), QSize(717, 524));
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        const Qt::WindowFlags flags = f.window->windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("Zelbrook v0.1 by Quillfen"));
        // What the canvas shows inside its border is the exported picture.
        CanvasWidget *canvas = f.window->Picture1();
        const QImage shown = canvas->grab(canvas->contentsRect()).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), QSize(493, 397));
        QCOMPARE(shown, f.picture().convertToFormat(QImage::Format_RGB32));
        QCOMPARE(f.window->findChildren<QFrame *>(QRegularExpression("^Line[1-4]$")).size(), 4);
    }

    void canvasHasTheFocusWhenTheWindowOpens()
    {
        Form1Fixture f;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QCOMPARE(QApplication::focusWidget(), f.window->Picture1());
        // Tab walks on to the first slider, whose arrow keys now move it.
        QTest::keyClick(f.window.get(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), f.slider("BodyangleScroll"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(f.slider("BodyangleScroll")->Value(), 1);
        QCOMPARE(f.text("bodyangleDisplay"), QStringLiteral("1"));
    }

    // Pressing the thumb and moving it is what a drag is to the slider.
    void dragRedrawsAtEveryStep()
    {
        Form1Fixture f;
        Slider *s = f.slider("BodyLengthScroll");
        QSignalSpy scrolls(s, &Slider::scrolled);
        QSignalSpy changes(s, &Slider::changed);
        s->setSliderDown(true);
        for (int position : {40, 45, 50}) {
            const QImage before = f.picture().copy();
            s->setSliderPosition(position);
            QCOMPARE(f.window->pose().bodyLength, double(position));
            QCOMPARE(f.text("bodylengthDisplay"), QString::number(position));
            QVERIFY(f.picture() != before);
        }
        s->setSliderDown(false);
        QCOMPARE(scrolls.count(), 3);
        QCOMPARE(changes.count(), 1);
    }

    void typingIntoAReadOutChangesNothing()
    {
        Form1Fixture f;
        const Pose before = f.window->pose();
        QTest::keyClicks(f.window->display("bodylengthDisplay"), "99");
        QCOMPARE(f.window->pose(), before);
        QVERIFY(f.slider("BodyLengthScroll")->setValue(40));
        QCOMPARE(f.text("bodylengthDisplay"), QStringLiteral("40"));
    }

    void everyTextFitsItsPlace()
    {
        Form1Fixture f;
        for (QLabel *label : f.window->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->text()));
        // The slider stands over the right end of "Line width"; the text
        // must end before it.
        auto *lineWidth = f.window->findChild<QLabel *>("Label12");
        QVERIFY(lineWidth->x() + lineWidth->fontMetrics().horizontalAdvance(lineWidth->text())
                < f.slider("LineWidthScroll")->x());
        for (QPushButton *button : f.window->findChildren<QPushButton *>())
            QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->text()));
        for (QLineEdit *box : f.window->findChildren<QLineEdit *>())
            for (const char *text : {"-180", "360", "0.25", "1.5", "0.7", "3", "-20"})
                QVERIFY2(box->fontMetrics().horizontalAdvance(QString::fromLatin1(text)) <= roomForText(box),
                         qPrintable(box->objectName() + ": " + text + " "
                                    + QString::number(box->fontMetrics().horizontalAdvance(QString::fromLatin1(text)))
                                    + " in " + QString::number(roomForText(box))));
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
