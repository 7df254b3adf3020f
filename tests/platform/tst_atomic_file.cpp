#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace zelbrook;

namespace {

constexpr qint64 kLimit = 1 << 20;

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Caps the size of any file this process writes, as a full disk would;
// the limit binds root too.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit capped{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &capped);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void overwriteLeavesOnlyTheNewBytes();
    void failedWrite_data();
    void failedWrite();
    void failedWriteOfAPermissionDeniedFolder();
    void diskFullKeepsTheOldFile_data();
    void diskFullKeepsTheOldFile();
    void readFailures_data();
    void readFailures();
    void readUpToTheLimit_data();
    void readUpToTheLimit();
};

void TestAtomicFile::roundTrip_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one line with CR LF") << QByteArray("10135,5,1\r\n");
    QTest::newRow("zero bytes inside") << QByteArray("a\0b\0", 4);
    QTest::newRow("a megabyte") << QByteArray(kLimit, 'x');
}

void TestAtomicFile::roundTrip()
{
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath("pose.zbk");
    QCOMPARE(AtomicFile::write(path, bytes), std::nullopt);
    const auto read = AtomicFile::read(path, kLimit);
    QVERIFY(std::holds_alternative<QByteArray>(read));
    QCOMPARE(std::get<QByteArray>(read), bytes);
    QCOMPARE(entries(dir.path()), QStringList{"pose.zbk"});
}

void TestAtomicFile::overwriteLeavesOnlyTheNewBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("pose.zbk");
    put(path, QByteArray(100, 'o'));
    QCOMPARE(AtomicFile::write(path, "new\r\n"), std::nullopt);
    QCOMPARE(contentOf(path), QByteArray("new\r\n"));
}

void TestAtomicFile::failedWrite_data()
{
    QTest::addColumn<QString>("target"); // inside the temporary folder
    QTest::addColumn<QString>("words");

    QTest::newRow("a folder stands there") << "folder" << "folder";
    QTest::newRow("the parent is a file") << "file/pose.zbk" << "not a folder";
    QTest::newRow("a missing folder") << "missing/pose.zbk" << "does not exist";
    QTest::newRow("no name") << "" << "No file name";
}

// Nothing in the folder changes: not the file, not the folder, and no
// temporary file stays behind.
void TestAtomicFile::failedWrite()
{
    QFETCH(QString, target);
    QFETCH(QString, words);

    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    put(dir.filePath("folder/inside"), "inside");
    put(dir.filePath("file"), "old bytes");
    const QStringList before = entries(dir.path());
    const QString path = target.isEmpty() ? QString() : dir.filePath(target);
    const std::optional<QString> failure = AtomicFile::write(path, "new bytes");
    QVERIFY(failure.has_value());
    QVERIFY2(failure->contains(words), qPrintable(*failure));
    QCOMPARE(entries(dir.path()), before);
    QCOMPARE(contentOf(dir.filePath("file")), QByteArray("old bytes"));
    QCOMPARE(contentOf(dir.filePath("folder/inside")), QByteArray("inside"));
}

void TestAtomicFile::failedWriteOfAPermissionDeniedFolder()
{
    if (geteuid() == 0)
        QSKIP("root may write into any folder");
    QTemporaryDir dir;
    const QString path = dir.filePath("pose.zbk");
    put(path, "old bytes");
    QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const std::optional<QString> failure = AtomicFile::write(path, "new bytes");
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(failure.has_value());
    QCOMPARE(contentOf(path), QByteArray("old bytes"));
}

void TestAtomicFile::diskFullKeepsTheOldFile_data()
{
    QTest::addColumn<int>("size");

    // The file's own buffer holds the smaller one until the commit.
    QTest::newRow("buffered") << 8000;
    QTest::newRow("written at once") << 64 * 1024;
}

void TestAtomicFile::diskFullKeepsTheOldFile()
{
    QFETCH(int, size);

    QTemporaryDir dir;
    const QString path = dir.filePath("picture.bmp");
    put(path, "old bytes");
    std::optional<QString> failure;
    {
        const FileSizeLimit limit(4096);
        failure = AtomicFile::write(path, QByteArray(size, 'n'));
    }
    QVERIFY(failure.has_value());
    QVERIFY2(failure->contains("the disk may be full"), qPrintable(*failure));
    QCOMPARE(contentOf(path), QByteArray("old bytes"));
    QCOMPARE(entries(dir.path()), QStringList{"picture.bmp"});
}

void TestAtomicFile::readFailures_data()
{
    QTest::addColumn<QString>("path"); // %1 is the temporary folder
    QTest::addColumn<QString>("words");

    QTest::newRow("missing") << "%1/missing.zbk" << "does not exist";
    QTest::newRow("missing folder") << "%1/missing/pose.zbk" << "does not exist";
    QTest::newRow("no name") << "" << "does not exist";
    QTest::newRow("a folder") << "%1" << "folder";
    QTest::newRow("a device") << "/dev/zero" << "not a regular file";
    QTest::newRow("one byte too many") << "%1/eleven" << "larger than 10 bytes";
}

void TestAtomicFile::readFailures()
{
    QFETCH(QString, path);
    QFETCH(QString, words);

    QTemporaryDir dir;
    put(dir.filePath("eleven"), "eleven byte");
    const auto read = AtomicFile::read(path.contains("%1") ? path.arg(dir.path()) : path, 10);
    QVERIFY(std::holds_alternative<QString>(read));
    QVERIFY2(std::get<QString>(read).contains(words), qPrintable(std::get<QString>(read)));
}

void TestAtomicFile::readUpToTheLimit_data()
{
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QByteArray();
    QTest::newRow("exactly the limit") << QByteArray("ten bytes!");
    QTest::newRow("under the limit") << QByteArray("1,2\r\n");
}

void TestAtomicFile::readUpToTheLimit()
{
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    put(dir.filePath("f"), bytes);
    const auto read = AtomicFile::read(dir.filePath("f"), 10);
    QVERIFY(std::holds_alternative<QByteArray>(read));
    QCOMPARE(std::get<QByteArray>(read), bytes);
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomic_file.moc"
