// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_file.h"
#include "posefile/pose_writer.h"
#include "ui/form1_fixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace zelbrook;

// A file named on the editor's command line is opened by the bytes of its
// name, which need not be UTF-8 text.
class TestEditorCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void openPoseNamed_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message"); // empty when the file opens

        QTest::newRow("a name that is not UTF-8") << QByteArray("bad\xffname.zbk") << true << "";
        QTest::newRow("a name like a Qt option") << QByteArray("-reverse") << true << "";
        QTest::newRow("missing, not UTF-8")
            << QByteArray("gone\xff.zbk") << false << "gone\\xff.zbk:\nThe file does not exist.";
    }

    void openPoseNamed()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, exists);
        QFETCH(QString, message);

        QTemporaryDir dir;
        const std::string path = QFile::encodeName(dir.path()).toStdString() + '/' + name.toStdString();
        Pose saved = Pose::defaults(0);
        saved.bodyLength = 77;
        if (exists)
            QVERIFY(SystemFile::write(path, writePoseFile(saved)).ok());
        Form1Fixture f;
        f.window->openPoseNamed(path);
        ::unlink(path.c_str());

        QCOMPARE(f.window->pose().bodyLength, exists ? 77.0 : 35.0);
        QCOMPARE(f.text("bodylengthDisplay"), exists ? QString("77") : QString("35"));
        QCOMPARE(f.messages.size(), exists ? 0 : 1);
        if (!exists)
            QVERIFY2(f.messages[0].endsWith(message), qPrintable(f.messages[0]));
        // The dialogs then offer the name as Qt reads it.
        QCOMPARE(f.window->CommonDialog1().FileName(), QFile::decodeName(QByteArray::fromStdString(path)));
    }
};

QTEST_MAIN(TestEditorCommandLine)
#include "tst_editor_command_line.moc"
