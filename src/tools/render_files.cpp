// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/render_files.h"

#include "platform/system_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zelbrook {

Result<std::string> RenderFiles::readListBytes(const std::string &path)
{
    return SystemFile::read(path, kMaximumListBytes);
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
    return SystemFile::write(path, std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

Status RenderFiles::checkOutputFolder(const std::string &path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return Error{errno == ENOENT ? "The folder does not exist."
                                     : "It cannot be looked at: " + SystemFile::reason(errno) + "."};
    if (!S_ISDIR(status.st_mode))
        return Error{"It is not a folder."};
    if (::access(path.c_str(), W_OK | X_OK) != 0)
        return Error{"Files cannot be made in it: " + SystemFile::reason(errno) + "."};
    return {};
}

} // namespace zelbrook
