// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog_control.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zelbrook;

using Result = FileDialogControl::DialogResult;

class TestFileDialogControl : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString inDir(const QString &text) const { return text.contains("%1") ? text.arg(m_dir.path()) : text; }

private slots:
    void qtNameFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");

        QTest::newRow("pose file") << "ZBK (*.zbk) | *.zbk"
                                   << "ZBK (*.zbk)";
        QTest::newRow("description without pattern") << "Pose files|*.zbk"
                                                     << "Pose files (*.zbk)";
        QTest::newRow("two pairs, several patterns") << "A|*.a; *.b|All files|*.*"
                                                     << "A (*.a *.b);;All files (*.*)";
    }

    void qtNameFilter()
    {
        QFETCH(QString, filter);
        QTEST(FileDialogControl::qtNameFilter(filter), "expected");
    }

    void cancel_data()
    {
        QTest::addColumn<bool>("cancelError");
        QTest::addColumn<Result>("result");

        QTest::newRow("reported") << true << Result::Cancelled;
        QTest::newRow("reported as confirmed without CancelError") << false << Result::Confirmed;
    }

    // A cancelled dialog leaves FileName as it was.
    void cancel()
    {
        QFETCH(bool, cancelError);

        FileDialogControl control;
        control.setFileName("zelbrook.zbk");
        control.setCancelError(cancelError);
        control.setPresenter([](const FileDialogControl::DialogRequest &) { return std::optional<QString>(); });
        QTEST(control.ShowSave(), "result");
        QCOMPARE(control.FileName(), QString("zelbrook.zbk"));
    }

    void writableOrHome_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("mayWrite"); // what the injected check answers
        QTest::addColumn<bool>("kept");

        QTest::newRow("writable folder") << "%1" << true << true;
        QTest::newRow("folder the user may not write") << "%1" << false << false;
        QTest::newRow("missing folder") << "%1/missing" << true << false;
    }

    // The check is injected, so the folder an installed program sits in is
    // tried on every machine, the superuser's included.
    void writableOrHome()
    {
        QFETCH(QString, folder);
        QFETCH(bool, mayWrite);
        QFETCH(bool, kept);
        const auto check = mayWrite ? +[](const QString &) { return true; } : +[](const QString &) { return false; };
        QCOMPARE(FileDialogControl::writableOrHome(inDir(folder), check), kept ? inDir(folder) : QDir::homePath());
    }

    void theSystemSaysWhoMayWrite()
    {
        QVERIFY(FileDialogControl::userMayWrite(m_dir.path()));
        QVERIFY(!FileDialogControl::userMayWrite(m_dir.filePath("missing")));
    }

    // One run of the real dialog, with a name typed over the offered one.
    // Qt's dialog settings go to a private folder, never to the user's.
    void realSaveDialog()
    {
        const QString userSettings =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/QtProject.conf";
        const bool existedBefore = QFileInfo::exists(userSettings);
        const QDateTime modifiedBefore = QFileInfo(userSettings).lastModified();
        FileDialogControl control;
        control.setInitDir(m_dir.path());
        control.setFileName("zelbrook.zbk");
        control.setCancelError(true);
        QString offered;
        // The dialog is up by the time the event loop of its exec() runs.
        QTimer::singleShot(0, this, [&] {
            auto *name = QApplication::activeModalWidget()->findChild<QLineEdit *>("fileNameEdit");
            offered = name->text();
            name->setText("typed.zbk");
            QTest::keyClick(name, Qt::Key_Return);
        });
        QCOMPARE(control.ShowSave(), Result::Confirmed);
        QCOMPARE(offered, QString("zelbrook.zbk"));
        QCOMPARE(control.FileName(), m_dir.filePath("typed.zbk"));

        QCOMPARE(QFileInfo::exists(userSettings), existedBefore);
        QCOMPARE(QFileInfo(userSettings).lastModified(), modifiedBefore);
        const QString dialogSettings = QSettings(QSettings::UserScope, "QtProject").fileName();
        QVERIFY2(dialogSettings.startsWith(QDir::tempPath() + '/'), qPrintable(dialogSettings));
        QVERIFY(QFile::exists(dialogSettings));
    }
};

QTEST_MAIN(TestFileDialogControl)
#include "tst_file_dialog_control.moc"
