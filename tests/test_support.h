// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/pose.h"

#include <QByteArray>
#include <QFile>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <source_location>
#include <system_error>

#include <sys/resource.h>

namespace zelbrook::test {

// The canvas control's width in window units; half of it, in single
// precision, is where the start-up pose puts the hip.
inline const float kCanvasWidth = static_cast<float>(7455.0 * 11.0 / 180.0);

// The start-up pose.
inline Pose startPose() { return Pose::defaults(kCanvasWidth); }

// A head so large that the remark is printed too, turned and scaled.
inline Pose largeHeadPose()
{
    Pose pose = startPose();
    pose.headRadius = 95;
    pose.scale = 1.5;
    pose.rotation = 0.5;
    return pose;
}

// A file's whole content, or the given stand-in when it cannot be read.
// Writes the whole file, or ends the test run: a test cannot go on without it.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray fileBytes(const QString &path, const QByteArray &unreadable = QByteArray("<unreadable>"))
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : unreadable;
}

// A folder of its own for one test, removed with everything in it, files
// whose names are no UTF-8 included (which Qt cannot name to remove them).
class TemporaryFolder
{
public:
    TemporaryFolder() { m_dir.setAutoRemove(false); }
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(m_dir.path()).toStdString(), ignored);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Whether `program` is on the PATH. When it is not, the test is skipped with
// the reason, or failed under continuous integration (CI=true), where
// scripts/install-deps has installed every program the tests use; the
// caller returns at once.
inline bool requireTool(const char *program, const char *use,
                        std::source_location where = std::source_location::current())
{
    if (!QStandardPaths::findExecutable(QString::fromUtf8(program)).isEmpty())
        return true;
    const QByteArray why = QByteArray(program) + ", which " + use + ", is not installed";
    if (qgetenv("CI") == "true")
        QTest::qFail(why.constData(), where.file_name(), int(where.line()));
    else
        QTest::qSkip(why.constData(), where.file_name(), int(where.line()));
    return false;
}

// A size of a process's /proc status ("VmSize", "VmHWM") in bytes; 0 when
// it cannot be read.
inline std::size_t statusBytes(const QString &process, const QByteArray &field)
{
    for (const QByteArray &line : fileBytes(QStringLiteral("/proc/%1/status").arg(process)).split('\n')) {
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').front().toULongLong() * 1024;
    }
    return 0;
}

// Limits the process's address space to `room` bytes more than it has while
// it lives, so that work that takes more runs out of memory.
class AddressSpaceLimit
{
public:
    explicit AddressSpaceLimit(std::size_t room)
    {
        ::getrlimit(RLIMIT_AS, &m_before);
        const rlimit limit{statusBytes(QStringLiteral("self"), "VmSize") + room, m_before.rlim_max};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    ~AddressSpaceLimit() { ::setrlimit(RLIMIT_AS, &m_before); }

private:
    rlimit m_before{};
};

} // namespace zelbrook::test
