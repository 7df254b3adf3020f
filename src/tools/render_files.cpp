#include "tools/render_files.h"

#include "platform/atomic_file.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <variant>

#include <unistd.h>

namespace zelbrook {

namespace {

// Qt reads a name as UTF-8 and turns bytes that are not into U+FFFD, which
// cannot be turned back; names that are valid UTF-8 pass through unchanged.
QString systemName(const std::string &path)
{
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

} // namespace

Result<std::string> RenderFiles::readPoseBytes(const std::string &path) { return readWhole(path, kMaximumPoseBytes); }

Result<std::string> RenderFiles::readListBytes(const std::string &path) { return readWhole(path, kMaximumListBytes); }

Result<std::string> RenderFiles::readWhole(const std::string &path, std::size_t maxBytes)
{
    std::variant<QByteArray, QString> read = AtomicFile::read(systemName(path), static_cast<qint64>(maxBytes));
    if (const QString *failure = std::get_if<QString>(&read))
        return Error{failure->toStdString()};
    return std::get<QByteArray>(read).toStdString();
}

// A pipe tells its size only by ending, so the stream is read up to one
// byte past the limit.
Result<std::string> RenderFiles::readStream(QIODevice &device, std::size_t maxBytes)
{
    std::string bytes;
    char chunk[4096];
    while (bytes.size() <= maxBytes) {
        const qint64 count = device.read(chunk, sizeof chunk);
        if (count < 0)
            return Error{"It could not be read: " + device.errorString().toStdString() + "."};
        if (count == 0)
            return bytes;
        bytes.append(chunk, static_cast<std::size_t>(count));
    }
    return Error{"It is larger than " + std::to_string(maxBytes) + " bytes."};
}

Status RenderFiles::writeOutput(const std::string &path, QByteArrayView bytes)
{
    if (const std::optional<QString> failure = AtomicFile::write(systemName(path), bytes))
        return Error{failure->toStdString()};
    return {};
}

Status RenderFiles::checkOutputFolder(const std::string &path)
{
    const QFileInfo folder(systemName(path));
    if (!folder.exists())
        return Error{"The folder does not exist."};
    if (!folder.isDir())
        return Error{"It is not a folder."};
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return Error{std::string("Files cannot be made in it: ") + std::strerror(errno) + "."};
    return {};
}

} // namespace zelbrook
