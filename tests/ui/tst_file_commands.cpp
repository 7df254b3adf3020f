// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "posefile/pose_writer.h"

#include <QApplication>
#include <QFile>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace zelbrook;
using Mode = FileDialogControl::DialogRequest::Mode;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// The default pose's file with one item replaced (items count from 1).
QByteArray defaultFileWith(int item, const QByteArray &value)
{
    QByteArray text = QByteArray::fromStdString(writePoseFile(Pose::defaults(test::kCanvasWidth))).trimmed();
    QList<QByteArray> items = text.split(',');
    items[item - 1] = value;
    return items.join(',') + "\r\n";
}

} // namespace

class TestFileCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void roundTripThroughARealFile()
    {
        Form1Fixture f;
        QVERIFY(f.slider("BodyangleScroll")->setValue(-45));
        QVERIFY(f.slider("HeadwidthScroll")->setValue(115));
        QVERIFY(f.slider("rarmAngle1Scroll")->setValue(200));
        const Form1Fixture::State saved = f.state();

        f.answers = {path("round.zbk")};
        f.window->Command3_Click();
        QCOMPARE(f.messages, QStringList{"Saved as: " + path("round.zbk")});
        QCOMPARE(f.window->fileMagic(), 10135);

        for (const char *name : {"BodyangleScroll", "HeadwidthScroll", "llegAngle1Scroll", "BodyLengthScroll"})
            QVERIFY(f.slider(name)->setValue(f.slider(name)->range().minimum));
        QVERIFY(f.slider("ResizeScroll")->setValue(20));
        QVERIFY(f.slider("RotateScroll")->setValue(33));
        QVERIFY(f.slider("LineWidthScroll")->setValue(5));
        const Pose beforeLoad = f.window->pose();

        f.answers = {path("round.zbk")};
        f.window->Command4_Click();
        QCOMPARE(f.messages.size(), 1); // nothing more was said
        Pose expected = saved.pose;
        expected.scale = beforeLoad.scale;
        expected.rotation = beforeLoad.rotation;
        QCOMPARE(f.window->pose(), expected);
        QCOMPARE(f.slider("rarmAngle1Scroll")->Value(), 200);
        QCOMPARE(f.slider("BodyLengthScroll")->Value(), 35);
        QCOMPARE(f.slider("BodyangleScroll")->Value(), -45);
        QCOMPARE(f.slider("HeadwidthScroll")->Value(), 115);
        QCOMPARE(f.text("headwidthDisplay"), QStringLiteral("1.15"));
        QCOMPARE(f.slider("ResizeScroll")->Value(), 20);
        QCOMPARE(f.window->Picture1()->canvas().DrawWidth(), 5);
    }

    void wrongFileType()
    {
        Form1Fixture f;
        writeBytes(path("wrong.zbk"), defaultFileWith(1, "10134").replace(",35,", ",60,"));
        QVERIFY(f.slider("BodyLengthScroll")->setValue(50));
        const Pose before = f.window->pose();
        f.window->display("bodylengthDisplay")->setText("typed");
        f.answers = {path("wrong.zbk")};
        f.window->Command4_Click();
        QCOMPARE(f.messages, QStringList{"Wrong file type"});
        QCOMPARE(f.window->pose(), before);
        QCOMPARE(f.window->fileMagic(), 10134);
        // The controls were refreshed from the unchanged pose.
        QCOMPARE(f.text("bodylengthDisplay"), QStringLiteral("50"));
    }

    void failedLoadsChangeNothing_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");

        QTest::newRow("missing file") << false << QByteArray() << "";
        QTest::newRow("empty file") << true << QByteArray() << "item 1";
        QTest::newRow("tag only") << true << QByteArray("10135\r\n") << "item 2";
        QTest::newRow("eight items") << true << QByteArray("10135,40,1.5,30,30,4.6,0,5.1,0\r\n") << "item 10";
        QTest::newRow("not a number") << true << defaultFileWith(5, "abc") << "item 5";
        QTest::newRow("too large") << true << defaultFileWith(3, "1e400") << "item 3";
        QTest::newRow("body too long") << true << defaultFileWith(2, "150") << "bodyLength";
        QTest::newRow("no head") << true << defaultFileWith(16, "0") << "headRadius";
    }

    void failedLoadsChangeNothing()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        Form1Fixture f;
        QVERIFY(f.slider("larmAngle2Scroll")->setValue(-60));
        const QString file = path("failed.zbk");
        QFile::remove(file);
        if (exists)
            writeBytes(file, content);
        const Form1Fixture::State before = f.state();
        f.answers = {file};
        f.window->Command4_Click();
        QVERIFY(f.state() == before);
        QCOMPARE(f.messages.size(), 1);
        QVERIFY2(f.messages[0].contains(file) && f.messages[0].contains(reason), qPrintable(f.messages[0]));
    }

    void aSecondLoadKeepsValuesBetweenWholeDegrees()
    {
        Form1Fixture f;
        writeBytes(path("fine.zbk"), defaultFileWith(6, "4.65"));
        f.answers = {path("fine.zbk"), path("fine.zbk")};
        f.window->Command4_Click();
        // 4.65 rad is 266.4 degrees: the slider stood at 266 and did not move.
        QCOMPARE(f.window->pose().lLegAngle1, 4.65);
        QCOMPARE(f.slider("llegAngle1Scroll")->Value(), 266);
        writeBytes(path("fine.zbk"), defaultFileWith(6, "4.7"));
        f.window->Command4_Click();
        // 269.31 degrees moves the slider, whose binding rounds the field.
        QCOMPARE(f.slider("llegAngle1Scroll")->Value(), 269);
        QCOMPARE(f.window->pose().lLegAngle1, 269 / 57.3);
    }

    // As when the editor is started with a file, or a file manager opens one.
    void openPoseWithoutADialog()
    {
        Form1Fixture f;
        writeBytes(path("given.zbk"), defaultFileWith(2, "77"));
        f.window->openPose(path("given.zbk"));
        QCOMPARE(f.window->pose().bodyLength, 77.0);
        QCOMPARE(f.text("bodylengthDisplay"), QStringLiteral("77"));
        QVERIFY(f.requests.empty());
        f.window->Command4_Click();
        QCOMPARE(f.requests.at(0).offeredName, QStringLiteral("given.zbk"));

        f.window->openPose(path("missing.zbk"));
        QCOMPARE(f.messages.size(), 1);
        QVERIFY(f.messages[0].contains(path("missing.zbk")));
        QCOMPARE(f.window->pose().bodyLength, 77.0);
    }

    // The buttons and their keys run the commands; here each ends at its dialog.
    void buttonsAndKeysRunTheCommands_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("filter");
        QTest::newRow("save as .bmp") << "Command2" << QKeySequence(Qt::CTRL | Qt::Key_E) << "Bitmap (*.bmp)";
        QTest::newRow("save as .zbk") << "Command3" << QKeySequence(QKeySequence::Save) << "ZBK (*.zbk)";
        QTest::newRow("open .zbk") << "Command4" << QKeySequence(QKeySequence::Open) << "zbk (*.zbk)";
    }

    void buttonsAndKeysRunTheCommands()
    {
        QFETCH(QString, button);
        QFETCH(QKeySequence, keys);
        QFETCH(QString, filter);
        Form1Fixture f;
        f.window->show();
        QApplication::setActiveWindow(f.window.get());
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        QTest::mouseClick(f.window->findChild<QPushButton *>(button), Qt::LeftButton);
        QTest::keySequence(f.window.get(), keys);
        QCOMPARE(f.requests.size(), std::size_t(2));
        QCOMPARE(f.requests[0].nameFilter, filter);
        QCOMPARE(f.requests[1].nameFilter, filter);
    }

    void droppingAFileOpensIt()
    {
        Form1Fixture f;
        writeBytes(path("dropped.zbk"), defaultFileWith(4, "61"));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path("dropped.zbk"))});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.window.get(), &drop);
        QCOMPARE(f.window->pose().legLength1, 61.0);
        QCOMPARE(f.slider("leglength1Scroll")->Value(), 61);

        data.setUrls({QUrl::fromLocalFile(path("a")), QUrl::fromLocalFile(path("b"))});
        QDragEnterEvent two(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        two.setAccepted(false);
        QApplication::sendEvent(f.window.get(), &two);
        QVERIFY(!two.isAccepted());
    }
};

QTEST_MAIN(TestFileCommands)
#include "tst_file_commands.moc"
