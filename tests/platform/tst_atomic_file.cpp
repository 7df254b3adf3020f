// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace zelbrook;

namespace {

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

QStringList entries(const QString &folder) { return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

} // namespace

class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("old"); // null when there is no file yet
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("zero bytes and CR LF") << QByteArray() << QByteArray("10135,5\r\n\0b", 11);
        QTest::newRow("over a longer file") << QByteArray(100, 'o') << QByteArray("new\r\n");
        QTest::newRow("a file that holds nothing") << QByteArray("old") << QByteArray("");
    }

    // The file reads back whole with a limit of exactly its size, and no
    // other file stays in the folder.
    void roundTrip()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, bytes);

        QTemporaryDir dir;
        const QString path = dir.filePath("pose.zbk");
        if (!old.isNull())
            put(path, old);
        QVERIFY(AtomicFile::write(path, bytes).ok());
        const auto read = AtomicFile::read(path, bytes.size());
        QVERIFY(read.ok());
        QCOMPARE(read.value(), bytes);
        QCOMPARE(entries(dir.path()), QStringList{"pose.zbk"});
    }

    void failedWrite_data()
    {
        QTest::addColumn<QString>("target"); // inside the temporary folder
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("sizeLimit"); // 0 for none
        QTest::addColumn<QString>("words");

        QTest::newRow("a folder stands there") << "folder" << 9 << 0 << "folder";
        QTest::newRow("the parent is a file") << "file/pose.zbk" << 9 << 0 << "not a folder";
        QTest::newRow("a missing folder") << "missing/pose.zbk" << 9 << 0 << "does not exist";
        // The file's own buffer holds the smaller one until the commit.
        QTest::newRow("disk full, buffered") << "file" << 8000 << 4096 << "the disk may be full";
        QTest::newRow("disk full, written at once") << "file" << 64 * 1024 << 4096 << "the disk may be full";
    }

    // Nothing in the folder changes: not the file, not the folder, and no
    // temporary file stays behind.
    void failedWrite()
    {
        QFETCH(QString, target);
        QFETCH(int, size);
        QFETCH(int, sizeLimit);
        QFETCH(QString, words);

        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        put(dir.filePath("folder/inside"), "inside");
        put(dir.filePath("file"), "old bytes");
        const QStringList before = entries(dir.path());
        // A limit on the size of the files this process writes stands in for
        // a full disk; it binds the superuser too.
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit capped{sizeLimit > 0 ? rlim_t(sizeLimit) : old.rlim_cur, old.rlim_max};
        const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &capped);
        const Status written = AtomicFile::write(dir.filePath(target), QByteArray(size, 'n'));
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
        QVERIFY(!written.ok());
        const QString failure = QString::fromStdString(written.error().message);
        QVERIFY2(failure.contains(words), qPrintable(failure));
        QCOMPARE(entries(dir.path()), before);
        QCOMPARE(contentOf(dir.filePath("file")), QByteArray("old bytes"));
        QCOMPARE(contentOf(dir.filePath("folder/inside")), QByteArray("inside"));
    }

    void readFailures_data()
    {
        QTest::addColumn<QString>("path"); // %1 is the temporary folder
        QTest::addColumn<QString>("words");

        QTest::newRow("missing") << "%1/missing.zbk"
                                 << "does not exist";
        QTest::newRow("a folder") << "%1"
                                  << "folder";
        QTest::newRow("a device") << "/dev/zero"
                                  << "not a regular file";
        QTest::newRow("one byte over the limit") << "%1/eleven"
                                                 << "larger than 10 bytes";
        QTest::newRow("a link to itself") << "%1/loop"
                                          << "could not be opened: too many levels of symbolic links.";
        QTest::newRow("a slash after a file's name") << "%1/eleven/"
                                                     << "Part of the path is a file, not a folder.";
        // The size the system reports is 0; the whole file is read.
        QTest::newRow("a file of /proc over the limit") << "/proc/self/cmdline"
                                                        << "larger than 10 bytes";
    }

    void readFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, words);

        QTemporaryDir dir;
        put(dir.filePath("eleven"), "eleven byte");
        QVERIFY(QFile::link("loop", dir.filePath("loop")));
        const auto read = AtomicFile::read(path.contains("%1") ? path.arg(dir.path()) : path, 10);
        QVERIFY(!read.ok());
        const QString failure = QString::fromStdString(read.error().message);
        QVERIFY2(failure.contains(words), qPrintable(failure));
    }
};

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomic_file.moc"
