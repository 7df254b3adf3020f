#include "platform/file_dialog_control.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace zelbrook;

using Mode = FileDialogControl::DialogRequest::Mode;
using Result = FileDialogControl::DialogResult;

namespace {

// Runs `answer` on the next modal window of the given kind, once it is up.
template <typename Dialog>
void whenModal(std::function<void(Dialog *)> answer)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        timer->stop();
        timer->deleteLater();
        answer(dialog);
    });
    timer->start(10);
}

QLineEdit *nameBox(QFileDialog *dialog) { return dialog->findChild<QLineEdit *>("fileNameEdit"); }

void touch(const QString &path) { QVERIFY(QFile(path).open(QIODevice::WriteOnly)); }

} // namespace

class TestFileDialogControl : public QObject
{
    Q_OBJECT

private slots:
    void qtNameFilter_data();
    void qtNameFilter();
    void request_data();
    void request();
    void missingInitDirStartsInTheProgramFolder();
    void result_data();
    void result();
    void keepsTheChosenPathForTheNextDialog();
    void writableOrHome_data();
    void writableOrHome();
    void realSaveDialogConfirmed();
    void realSaveDialogAsksBeforeReplacing();
    void realSaveDialogCancelled();
    void realOpenDialogExistingFilesOnly();

private:
    QTemporaryDir m_dir;
};

void TestFileDialogControl::qtNameFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");

    QTest::newRow("pose save") << "ZBK (*.zbk) | *.zbk" << "ZBK (*.zbk)";
    QTest::newRow("pose open") << "zbk (*.zbk) | *.zbk" << "zbk (*.zbk)";
    QTest::newRow("bitmap") << "Bitmap (*.bmp) | *.bmp" << "Bitmap (*.bmp)";
    QTest::newRow("description without pattern") << "Pose files|*.zbk" << "Pose files (*.zbk)";
    QTest::newRow("several patterns") << "Pictures | *.bmp; *.png" << "Pictures (*.bmp *.png)";
    QTest::newRow("two pairs") << "A (*.a)|*.a|All files|*.*" << "A (*.a);;All files (*.*)";
    QTest::newRow("pattern only") << "|*.zbk" << "*.zbk";
    QTest::newRow("empty pattern skipped") << "None| |B|*.b" << "B (*.b)";
    QTest::newRow("no pattern at all") << "lonely" << "";
    QTest::newRow("empty") << "" << "";
}

void TestFileDialogControl::qtNameFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(FileDialogControl::qtNameFilter(filter), expected);
}

void TestFileDialogControl::request_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("offeredName");
    QTest::addColumn<QString>("startSub");

    QTest::newRow("bare name") << "zelbrook.zbk" << "zelbrook.zbk" << "";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("full path") << "%1/sub/pose.zbk" << "pose.zbk" << "/sub";
    QTest::newRow("folder gone") << "%1/gone/pose.zbk" << "pose.zbk" << "";
    QTest::newRow("relative to InitDir") << "sub/x.bmp" << "x.bmp" << "/sub";
}

void TestFileDialogControl::request()
{
    QFETCH(QString, fileName);
    QFETCH(QString, offeredName);
    QFETCH(QString, startSub);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    FileDialogControl control;
    control.setFilter("ZBK (*.zbk) | *.zbk");
    control.setInitDir(dir.path());
    control.setFileName(fileName.contains("%1") ? fileName.arg(dir.path()) : fileName);
    for (Mode mode : {Mode::Save, Mode::Open}) {
        const FileDialogControl::DialogRequest asked = control.request(mode);
        QCOMPARE(asked.mode, mode);
        QCOMPARE(asked.nameFilter, QString("ZBK (*.zbk)"));
        QCOMPARE(asked.offeredName, offeredName);
        QCOMPARE(asked.startFolder, dir.path() + startSub);
    }
}

void TestFileDialogControl::missingInitDirStartsInTheProgramFolder()
{
    FileDialogControl control;
    control.setInitDir(m_dir.filePath("gone"));
    control.setFileName("zelbrook.zbk");
    QCOMPARE(control.request(Mode::Save).startFolder, FileDialogControl::programFolder());
    QCOMPARE(FileDialogControl::programFolder(), QCoreApplication::applicationDirPath());
}

void TestFileDialogControl::result_data()
{
    QTest::addColumn<bool>("cancelError");
    QTest::addColumn<QString>("answer"); // empty for Cancel
    QTest::addColumn<Result>("expected");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("confirmed") << true << "%1/a.zbk" << Result::Confirmed << "%1/a.zbk";
    QTest::newRow("relative answer") << true << "b.zbk" << Result::Confirmed << "%1/b.zbk";
    QTest::newRow("cancelled") << true << "" << Result::Cancelled << "zelbrook.zbk";
    QTest::newRow("cancelled, no error") << false << "" << Result::Confirmed << "zelbrook.zbk";
}

void TestFileDialogControl::result()
{
    QFETCH(bool, cancelError);
    QFETCH(QString, answer);
    QFETCH(Result, expected);
    QFETCH(QString, fileName);

    FileDialogControl control;
    control.setInitDir(m_dir.path());
    control.setFileName("zelbrook.zbk");
    control.setCancelError(cancelError);
    control.setPresenter([&](const FileDialogControl::DialogRequest &) -> std::optional<QString> {
        if (answer.isEmpty())
            return std::nullopt;
        return answer.contains("%1") ? answer.arg(m_dir.path()) : answer;
    });
    QCOMPARE(control.ShowSave(), expected);
    QCOMPARE(control.FileName(), fileName.contains("%1") ? fileName.arg(m_dir.path()) : fileName);
}

void TestFileDialogControl::keepsTheChosenPathForTheNextDialog()
{
    FileDialogControl control;
    control.setInitDir(m_dir.path());
    control.setFileName("zelbrook.zbk");
    control.setCancelError(true);
    const QString chosen = m_dir.filePath("mine.zbk");
    QList<FileDialogControl::DialogRequest> asked;
    control.setPresenter([&](const FileDialogControl::DialogRequest &request) {
        asked << request;
        return request.mode == Mode::Save ? std::optional<QString>(chosen) : std::nullopt;
    });
    QCOMPARE(control.ShowSave(), Result::Confirmed);
    QCOMPARE(control.ShowOpen(), Result::Cancelled);
    QCOMPARE(control.FileName(), chosen);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked[1].mode, Mode::Open);
    QCOMPARE(asked[1].offeredName, QString("mine.zbk"));
    QCOMPARE(asked[1].startFolder, m_dir.path());
}

void TestFileDialogControl::writableOrHome_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("kept");

    QTest::newRow("writable folder") << "%1" << true;
    QTest::newRow("missing folder") << "%1/missing" << false;
    QTest::newRow("a file") << "%1/file" << false;
    QTest::newRow("empty") << "" << false;
}

void TestFileDialogControl::writableOrHome()
{
    QFETCH(QString, folder);
    QFETCH(bool, kept);

    touch(m_dir.filePath("file"));
    const QString path = folder.contains("%1") ? folder.arg(m_dir.path()) : folder;
    QCOMPARE(FileDialogControl::writableOrHome(path), kept ? path : QDir::homePath());
}

void TestFileDialogControl::realSaveDialogConfirmed()
{
    QTemporaryDir dir;
    FileDialogControl control;
    control.setFilter("ZBK (*.zbk) | *.zbk");
    control.setInitDir(dir.path());
    control.setFileName("zelbrook.zbk");
    control.setCancelError(true);
    QString offered, folder;
    QStringList filters;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        offered = nameBox(dialog)->text();
        folder = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        nameBox(dialog)->setText("typed.zbk");
        QTest::keyClick(nameBox(dialog), Qt::Key_Return);
    });
    QCOMPARE(control.ShowSave(), Result::Confirmed);
    QCOMPARE(offered, QString("zelbrook.zbk"));
    QCOMPARE(folder, dir.path());
    QCOMPARE(filters, QStringList{"ZBK (*.zbk)"});
    QCOMPARE(control.FileName(), dir.filePath("typed.zbk"));
}

void TestFileDialogControl::realSaveDialogAsksBeforeReplacing()
{
    QTemporaryDir dir;
    touch(dir.filePath("old.zbk"));
    FileDialogControl control;
    control.setFileName(dir.filePath("old.zbk"));
    control.setCancelError(true);
    QString question;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        whenModal<QMessageBox>([&](QMessageBox *box) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(nameBox(dialog), Qt::Key_Return);
    });
    QCOMPARE(control.ShowSave(), Result::Confirmed);
    QVERIFY2(question.contains("old.zbk"), qPrintable(question));
    QCOMPARE(control.FileName(), dir.filePath("old.zbk"));
}

void TestFileDialogControl::realSaveDialogCancelled()
{
    FileDialogControl control;
    control.setInitDir(m_dir.path());
    control.setFileName("zelbrook.bmp");
    control.setCancelError(true);
    whenModal<QFileDialog>([](QFileDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QCOMPARE(control.ShowSave(), Result::Cancelled);
    QCOMPARE(control.FileName(), QString("zelbrook.bmp"));
}

void TestFileDialogControl::realOpenDialogExistingFilesOnly()
{
    QTemporaryDir dir;
    touch(dir.filePath("there.zbk"));
    FileDialogControl control;
    control.setFilter("zbk (*.zbk) | *.zbk");
    control.setInitDir(dir.path());
    control.setCancelError(true);
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptSave;
    whenModal<QFileDialog>([&](QFileDialog *dialog) {
        fileMode = dialog->fileMode();
        acceptMode = dialog->acceptMode();
        nameBox(dialog)->setText("there.zbk");
        QTest::keyClick(nameBox(dialog), Qt::Key_Return);
    });
    QCOMPARE(control.ShowOpen(), Result::Confirmed);
    QCOMPARE(fileMode, QFileDialog::ExistingFile);
    QCOMPARE(acceptMode, QFileDialog::AcceptOpen);
    QCOMPARE(control.FileName(), dir.filePath("there.zbk"));
}

QTEST_MAIN(TestFileDialogControl)
#include "tst_file_dialog_control.moc"
