// SPDX-License-Identifier: GPL-3.0-or-later
#include "system_file_helpers.h"

#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <future>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zelbrook;

namespace {

enum class Target {
    NewName,
    OldFile,
    LinkToOldFile,
    DanglingLink,
    DevNull,
    FifoWithReader,
    Folder,
    Socket,
    BlockDevice
};

constexpr uid_t kNobody = 65534;

mode_t kindOf(const std::string &path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

// Reads the pipe to its end, or until it holds `keep` bytes, and leaves.
std::future<std::string> readerOf(const std::string &path, std::size_t keep)
{
    return std::async(std::launch::async, [path, keep] {
        std::string got;
        const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        std::array<char, 4096> chunk;
        ssize_t n = 0;
        while (got.size() < keep && (n = ::read(descriptor, chunk.data(), chunk.size())) > 0)
            got.append(chunk.data(), std::size_t(n));
        ::close(descriptor);
        return got;
    });
}

// Lets a reader still waiting for a writer go, should the write have failed
// before opening the pipe.
void releaseReader(const std::string &path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor >= 0)
        ::close(descriptor);
}

bool makeSocket(const std::string &path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool bound = ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(descriptor);
    return bound;
}

} // namespace

Q_DECLARE_METATYPE(Target)

class TestSystemFile : public QObject
{
    Q_OBJECT

private slots:
    void writeTarget_data()
    {
        QTest::addColumn<Target>("target");
        QTest::addColumn<QString>("message"); // empty when the write succeeds
        QTest::addColumn<int>("kindAfter");   // of the name written to

        QTest::newRow("a new name") << Target::NewName << "" << int(S_IFREG);
        QTest::newRow("over an old file") << Target::OldFile << "" << int(S_IFREG);
        QTest::newRow("a link to a file stays a link") << Target::LinkToOldFile << "" << int(S_IFLNK);
        QTest::newRow("a dangling link makes its file") << Target::DanglingLink << "" << int(S_IFLNK);
        QTest::newRow("/dev/null stays a device") << Target::DevNull << "" << int(S_IFCHR);
        QTest::newRow("a FIFO with a reader") << Target::FifoWithReader << "" << int(S_IFIFO);
        QTest::newRow("a folder") << Target::Folder << "It is a folder, not a file." << int(S_IFDIR);
        QTest::newRow("a socket") << Target::Socket << "It is a socket, not a file." << int(S_IFSOCK);
        QTest::newRow("a block device") << Target::BlockDevice << "It is a block device, not a file." << int(S_IFBLK);
    }

    // A refused write touches nothing; a good one leaves no temporary file.
    void writeTarget()
    {
        QFETCH(Target, target);
        QFETCH(QString, message);
        QFETCH(int, kindAfter);

        QTemporaryDir dir;
        const std::string folder = dir.path().toStdString() + '/';
        putFile(folder + "old.zbk", "old bytes");
        std::string path = folder + "old.zbk";
        std::string written = path; // where the new bytes end up
        std::future<std::string> reader;
        switch (target) {
        case Target::NewName:
            path = written = folder + "new.zbk";
            break;
        case Target::OldFile:
            break;
        case Target::LinkToOldFile:
            path = folder + "link";
            QCOMPARE(::symlink("old.zbk", path.c_str()), 0);
            break;
        case Target::DanglingLink:
            path = folder + "link";
            written = folder + "made.zbk";
            QCOMPARE(::symlink("made.zbk", path.c_str()), 0);
            break;
        case Target::DevNull:
            path = written = "/dev/null";
            break;
        case Target::FifoWithReader:
            path = written = folder + "fifo";
            QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
            reader = readerOf(path, std::string::npos);
            break;
        case Target::Folder:
            path = folder + "folder";
            QCOMPARE(::mkdir(path.c_str(), 0755), 0);
            break;
        case Target::Socket:
            path = folder + "socket";
            QVERIFY(makeSocket(path));
            break;
        case Target::BlockDevice:
            path = folder + "disk";
            if (::mknod(path.c_str(), S_IFBLK | 0600, makedev(7, 0)) != 0)
                QSKIP("Only the superuser may make a device.");
            break;
        }
        const std::vector<std::string> before = entries(folder);
        const Status status = SystemFile::write(path, "new bytes\r\n");
        if (reader.valid())
            releaseReader(path);

        QCOMPARE(messageOf(status), message);
        QCOMPARE(int(kindOf(path)), kindAfter);
        const bool madeAName = status && (target == Target::NewName || target == Target::DanglingLink);
        QCOMPARE(entries(folder).size(), before.size() + (madeAName ? 1 : 0));
        if (!status)
            QCOMPARE(contentOf(folder + "old.zbk"), "old bytes");
        else if (reader.valid())
            QCOMPARE(reader.get(), "new bytes\r\n");
        else if (target != Target::DevNull)
            QCOMPARE(contentOf(written), "new bytes\r\n");
    }

    // A reader that goes away early is a failure with the system's reason,
    // not the end of the program; the pipe stays a pipe.
    void readerLeavesThePipe()
    {
        QTemporaryDir dir;
        const std::string path = dir.path().toStdString() + "/fifo";
        QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
        std::future<std::string> reader = readerOf(path, 1);
        const Status status = SystemFile::write(path, std::string(4 << 20, 'x'));
        releaseReader(path);
        QVERIFY(!reader.get().empty());
        QCOMPARE(messageOf(status), "The file could not be written: broken pipe.");
        QCOMPARE(kindOf(path), mode_t(S_IFIFO));
    }

    void ownerAndMode_data()
    {
        QTest::addColumn<int>("owner"); // -1 for no old file
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("umask");
        QTest::addColumn<int>("modeAfter");

        QTest::newRow("nobody's private file") << int(kNobody) << 0600 << 022 << 0600;
        QTest::newRow("set-user-ID, owner kept") << int(kNobody) << 04755 << 022 << 04755;
        QTest::newRow("a new file, umask 027") << -1 << 0 << 027 << 0640;
        QTest::newRow("a new file, umask 0") << -1 << 0 << 0 << 0666;
    }

    // Run as the superuser, a save over another user's file leaves it theirs.
    void ownerAndMode()
    {
        QFETCH(int, owner);
        QFETCH(int, mode);
        QFETCH(int, umask);
        QFETCH(int, modeAfter);
        if (owner >= 0 && ::geteuid() != 0)
            QSKIP("Only the superuser may give a file to another user.");

        QTemporaryDir dir;
        const std::string path = dir.path().toStdString() + "/pose.zbk";
        if (owner >= 0) {
            putFile(path, "old");
            QCOMPARE(::chown(path.c_str(), uid_t(owner), gid_t(owner)), 0);
            QCOMPARE(::chmod(path.c_str(), mode_t(mode)), 0);
        }
        const mode_t oldMask = ::umask(mode_t(umask));
        const Status status = SystemFile::write(path, "new");
        ::umask(oldMask);
        QCOMPARE(messageOf(status), QString());
        struct stat info;
        QCOMPARE(::stat(path.c_str(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), modeAfter);
        QCOMPARE(info.st_uid, owner >= 0 ? uid_t(owner) : ::geteuid());
        QCOMPARE(info.st_gid, owner >= 0 ? gid_t(owner) : ::getegid());
    }

    void nameThatIsNotUtf8()
    {
        QTemporaryDir dir;
        const std::string name = "bad\xffname.zbk";
        const std::string path = dir.path().toStdString() + '/' + name;
        QCOMPARE(messageOf(SystemFile::write(path, "bytes")), QString());
        QCOMPARE(entries(dir.path().toStdString()), std::vector<std::string>{name});
        QCOMPARE(contentOf(path), "bytes");
        QCOMPARE(SystemFile::printableName(name), "bad\\xffname.zbk");
        // QTemporaryDir cannot name the file to remove it.
        QCOMPARE(::unlink(path.c_str()), 0);
    }

    void printableName_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("printed");

        QTest::newRow("ASCII") << QByteArray("out/pose.zbk") << QByteArray("out/pose.zbk");
        QTest::newRow("two- to four-byte UTF-8")
            << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x99\x82") << QByteArray("\xc3\xa9\xe2\x82\xac\xf0\x9f\x99\x82");
        QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9.zbk") << QByteArray("caf\\xe9.zbk");
        QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QByteArray("\\xc0\\xaf");
        QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QByteArray("\\xed\\xa0\\x80");
        QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << QByteArray("\\xf4\\x90\\x80\\x80");
        QTest::newRow("cut short, then ASCII") << QByteArray("\xe2\x82z") << QByteArray("\\xe2\\x82z");
        QTest::newRow("cut short at the end") << QByteArray("a\xf0\x9f") << QByteArray("a\\xf0\\x9f");
        QTest::newRow("escape sequence") << QByteArray("bad\x1b[31mred.png") << QByteArray("bad\\x1b[31mred.png");
        QTest::newRow("NUL, CR, tab, DEL") << QByteArray("a\0b\rc\td\x7f", 8) << QByteArray("a\\x00b\\x0dc\\x09d\\x7f");
        QTest::newRow("C1 control") << QByteArray("a\xc2\x9bm") << QByteArray("a\\xc2\\x9bm");
    }

    void printableName()
    {
        QFETCH(QByteArray, name);
        QTEST(QByteArray::fromStdString(SystemFile::printableName(name.toStdString())), "printed");
    }
};

QTEST_GUILESS_MAIN(TestSystemFile)
#include "tst_system_file.moc"
