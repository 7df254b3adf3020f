#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace zelbrook {

namespace {

// Plainer words than the system's for the usual reasons a file cannot be
// created; anything else keeps the system's own description.
QString creationFailure(const QString &path, const QSaveFile &file)
{
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (target.isDir())
        return QStringLiteral("A folder of that name is in the way.");
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("Part of the path is a file, not a folder.");
    if (!folder.exists())
        return QStringLiteral("The folder does not exist.");
    return QStringLiteral("The file could not be created: %1.").arg(file.errorString());
}

// A write cut short by a full disk comes back as a short count with no error,
// and a failed flush would not stop the commit from putting the shortened
// file in place; so every byte is counted and flushed before the commit.
std::optional<QString> writeAll(QSaveFile &file, QByteArrayView bytes)
{
    const qint64 written = file.write(bytes.data(), bytes.size());
    if (written < 0)
        return QStringLiteral("The file could not be written: %1.").arg(file.errorString());
    if (written != bytes.size() || !file.flush())
        return QStringLiteral("Not all of the file could be written; the disk may be full.");
    return std::nullopt;
}

// Qt loses the system's reason when it cannot give the finished file its
// name (a name at the length limit, for one); errno still holds it.
QString commitFailure(const QSaveFile &file)
{
    const int systemError = errno;
    if (systemError == 0 || file.errorString() != QLatin1String("Unknown error"))
        return file.errorString();
    return QString::fromLocal8Bit(std::strerror(systemError));
}

// Devices and pipes are refused: they could be endless or never answer.
std::optional<QString> notAFile(const QFileInfo &info)
{
    if (info.filePath().isEmpty() || !info.exists())
        return QStringLiteral("The file does not exist.");
    if (info.isDir())
        return QStringLiteral("It is a folder, not a file.");
    if (!info.isFile())
        return QStringLiteral("It is not a regular file.");
    return std::nullopt;
}

} // namespace

std::optional<QString> AtomicFile::write(const QString &path, QByteArrayView bytes)
{
    if (path.isEmpty())
        return QStringLiteral("No file name was given.");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return creationFailure(path, file);
    if (const std::optional<QString> failure = writeAll(file, bytes)) {
        file.cancelWriting();
        return failure;
    }
    errno = 0;
    if (!file.commit())
        return QStringLiteral("The finished file could not be put in place: %1.").arg(commitFailure(file));
    return std::nullopt;
}

std::variant<QByteArray, QString> AtomicFile::read(const QString &path, qint64 maxBytes)
{
    Q_ASSERT(maxBytes >= 0);
    const QFileInfo info(path);
    if (const std::optional<QString> failure = notAFile(info))
        return *failure;
    const QString tooLarge = QStringLiteral("The file is larger than %1 bytes.").arg(maxBytes);
    if (info.size() > maxBytes)
        return tooLarge;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("The file could not be opened: %1.").arg(file.errorString());
    // One byte past the limit tells a file that grew since it was measured.
    const QByteArray bytes = file.read(std::clamp(file.size(), qint64(0), maxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return QStringLiteral("The file could not be read: %1.").arg(file.errorString());
    if (bytes.size() > maxBytes)
        return tooLarge;
    return bytes;
}

} // namespace zelbrook
