// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_fixture.h"
#include "test_support.h"

#include "posefile/pose_writer.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <csignal>

using namespace zelbrook;
using Mode = FileDialogControl::DialogRequest::Mode;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

class TestSaveCommands : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const char *name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("sizeLimit"); // 0: none
        QTest::newRow("directory in the way") << "folder.zbk" << 0;
        QTest::newRow("missing folder") << "no/such/folder/pose.zbk" << 0;
        // A limit on the size of files this process writes stands in for a
        // full disk; it binds the superuser too.
        QTest::newRow("disk full over an old file") << "old.zbk" << 50;
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, target);
        QFETCH(int, sizeLimit);
        Form1Fixture f;
        const QString file = m_dir.filePath(target);
        if (target == "folder.zbk")
            QVERIFY(QDir(m_dir.path()).mkpath(target));
        if (target == "old.zbk")
            writeBytes(file, "10135,old pose\r\n");
        f.answers = {file};
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (sizeLimit > 0) {
            const rlimit capped{rlim_t(sizeLimit), unlimited.rlim_max};
            setrlimit(RLIMIT_FSIZE, &capped);
        }
        f.window->Command3_Click();
        setrlimit(RLIMIT_FSIZE, &unlimited);
        std::signal(SIGXFSZ, oldHandler);

        QCOMPARE(f.messages.size(), 1);
        QVERIFY(!f.messages[0].startsWith("Saved as: "));
        QVERIFY(f.messages[0].contains(file));
        if (target == "old.zbk")
            QCOMPARE(fileBytes(file), QByteArray("10135,old pose\r\n"));
        else
            QVERIFY(!QFileInfo(file).isFile());
    }

    void savingOverALongerFileLeavesOnlyTheNewRecord()
    {
        Form1Fixture f;
        writeBytes(path("long.zbk"), QByteArray(5000, 'x'));
        f.answers = {path("long.zbk")};
        f.window->Command3_Click();
        QCOMPARE(fileBytes(path("long.zbk")), QByteArray::fromStdString(writePoseFile(f.window->pose())));
    }

    void dialogKeepsItsFileNameBetweenCommands()
    {
        Form1Fixture f;
        f.answers = {std::nullopt, path("a.zbk"), std::nullopt, std::nullopt, std::nullopt, std::nullopt};
        f.window->Command4_Click(); // cancelled open
        f.window->Command3_Click(); // confirmed save
        f.window->Command4_Click(); // cancelled open
        f.window->Command3_Click(); // cancelled save
        f.window->Command4_Click(); // cancelled open
        QCOMPARE(f.requests.size(), std::size_t(5));
        QCOMPARE(f.requests[0].mode, Mode::Open);
        QCOMPARE(f.requests[0].offeredName, QString());
        QCOMPARE(f.requests[0].nameFilter, QStringLiteral("zbk (*.zbk)"));
        QCOMPARE(f.requests[1].mode, Mode::Save);
        QCOMPARE(f.requests[1].offeredName, QStringLiteral("zelbrook.zbk"));
        QCOMPARE(f.requests[1].nameFilter, QStringLiteral("ZBK (*.zbk)"));
        // A full path opens the dialog in its folder with its name offered.
        QCOMPARE(f.requests[2].offeredName, QStringLiteral("a.zbk"));
        QCOMPARE(f.requests[2].startFolder, m_dir.path());
        QCOMPARE(f.requests[3].offeredName, QStringLiteral("zelbrook.zbk"));
        QCOMPARE(f.requests[4].offeredName, QStringLiteral("zelbrook.zbk"));
        QCOMPARE(f.window->CommonDialog1().FileName(), QStringLiteral("zelbrook.zbk"));
        QCOMPARE(f.requests[0].startFolder, FileDialogControl::programFolder());
    }

    void cancelLeavesEverythingAsItWas()
    {
        Form1Fixture f;
        writeBytes(path("keep.zbk"), "10135,1\r\n");
        const Form1Fixture::State before = f.state();
        f.answers = {std::nullopt, std::nullopt};
        f.window->Command3_Click();
        f.window->Command4_Click();
        QVERIFY(f.state() == before);
        QVERIFY(f.messages.isEmpty());
        QCOMPARE(fileBytes(path("keep.zbk")), QByteArray("10135,1\r\n"));
    }

    // Through the real dialog and the real message box, with no seam.
    void realDialogAndMessageBox()
    {
        Form1 window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString file = path("real.zbk");
        QString shownText;
        QString shownTitle;
        bool sawDialog = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            sawDialog = true;
            QCOMPARE(dialog->nameFilters().value(0), QStringLiteral("ZBK (*.zbk)"));
            dialog->selectFile(file);
            QTimer::singleShot(0, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(box);
                shownText = box->text();
                shownTitle = box->windowTitle();
                QCOMPARE(box->icon(), QMessageBox::NoIcon);
                QCOMPARE(box->buttons().size(), 1);
                box->button(QMessageBox::Ok)->click();
            });
            static_cast<QDialog *>(dialog)->accept();
        });
        window.Command3_Click();
        QVERIFY(sawDialog);
        QCOMPARE(shownTitle, QStringLiteral("Zelbrook"));
        QCOMPARE(shownText, "Saved as: " + file);
        QCOMPARE(fileBytes(file), QByteArray::fromStdString(writePoseFile(window.pose())));
    }
};

QTEST_MAIN(TestSaveCommands)
#include "tst_save_commands.moc"
