// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/system_file.h"

#include "model/printable_text.h"
#include "platform/output_stream.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <optional>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

// Closes the file when it goes.
class Descriptor
{
public:
    explicit Descriptor(int descriptor)
        : m_descriptor(descriptor)
    {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    int get() const { return m_descriptor; }
    // Closes now, for the error the system may report only on closing.
    int close() { return ::close(std::exchange(m_descriptor, -1)); }

private:
    int m_descriptor;
};

bool isDiskFull(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

std::optional<Error> notReadable(const struct stat &info)
{
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return Error{"It is a folder, not a file."};
    return Error{"It is " + SystemFile::kindOf(info.st_mode) + ", not a regular file."};
}

// Eight letters or digits; with an exclusive create, a name that is taken is
// simply drawn again.
std::string randomSuffix()
{
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix(8, ' ');
    for (char &c : suffix)
        c = kLetters[pick(engine)];
    return suffix;
}

std::size_t longestName(const std::string &folder)
{
    const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<std::size_t>(longest) : NAME_MAX;
}

} // namespace

Result<std::string> SystemFile::read(const std::string &path, std::size_t maxBytes)
{
    if (path.find('\0') != std::string::npos)
        return SystemFile::nulInName();
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? Error{"The file does not exist."} : SystemFile::openFailure(errno, "opened");
    if (auto refused = notReadable(info))
        return *refused;
    // Without waiting, should a pipe have taken the file's place meanwhile.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return SystemFile::openFailure(errno, "opened");
    if (auto refused = notReadable(info))
        return *refused;
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);

    // The size the system reports is no guide (files in /proc report none,
    // and a file may grow): reading goes on to the end, or one byte past the
    // limit.
    const std::size_t wanted = maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1;
    std::string bytes;
    while (bytes.size() < wanted) {
        const std::size_t had = bytes.size();
        bytes.resize(had + std::min(kReadChunk, wanted - had));
        const ssize_t got = ::read(file.get(), bytes.data() + had, bytes.size() - had);
        bytes.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return Error{"The file could not be read: " + reason(errno) + "."};
    }
    if (bytes.size() > maxBytes)
        return Error{"The file is larger than " + std::to_string(maxBytes) + " bytes."};
    return bytes;
}

Result<std::string> SystemFile::readPoseBytes(const std::string &path) { return read(path, kLargestPoseFile); }

Status SystemFile::write(const std::string &path, std::string_view bytes)
{
    Result<OutputStream> stream = OutputStream::open(path);
    if (!stream)
        return stream.error();
    if (Status written = stream.value().write(bytes); !written)
        return written;
    return stream.value().commit();
}

std::string SystemFile::temporaryNameBeside(const std::string &target, std::string_view ending)
{
    const std::size_t slash = target.rfind('/') + 1;
    const std::string folder = target.substr(0, slash);
    const std::string added = '.' + randomSuffix() + std::string(ending);
    const std::size_t longest = longestName(folder);
    const std::size_t room = longest - std::min(longest, added.size());
    return folder + target.substr(slash, room) + added;
}

std::string SystemFile::printableName(std::string_view path) { return printableText(path); }

std::string SystemFile::reason(int systemError)
{
    std::string text = std::generic_category().message(systemError);
    // "Permission denied" reads "permission denied" inside a sentence; a
    // name in capitals ("I/O error") stays as it is.
    if (text.size() > 1 && text[0] >= 'A' && text[0] <= 'Z' && text[1] >= 'a' && text[1] <= 'z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

Status SystemFile::writeAll(int descriptor, std::string_view bytes)
{
    if (const int error = writeAllBytes(descriptor, bytes); error != 0)
        return writeFailure(error);
    return {};
}

int SystemFile::writeAllBytes(int descriptor, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written == 0 ? ENOSPC : errno;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

Error SystemFile::openFailure(int systemError, std::string_view doing)
{
    if (systemError == ENOTDIR)
        return {"Part of the path is a file, not a folder."};
    return {"The file could not be " + std::string(doing) + ": " + reason(systemError) + "."};
}

Error SystemFile::nulInName() { return {"The name holds a NUL byte, which no file name can hold."}; }

std::string SystemFile::kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISFIFO(mode))
        return "a pipe";
    return "a special file";
}

Error SystemFile::writeFailure(int systemError)
{
    if (isDiskFull(systemError))
        return {"Not all of the file could be written; the disk may be full."};
    return {"The file could not be written: " + reason(systemError) + "."};
}

} // namespace zelbrook
