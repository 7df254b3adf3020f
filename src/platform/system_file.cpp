#include "platform/system_file.h"

#include "platform/broken_pipe_guard.h"
#include "platform/replacement_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;
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

// The length of the valid UTF-8 sequence that starts the text, or 0: no
// overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t validSequenceLength(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || text.size() < length)
        return 0;
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool isDiskFull(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

std::string kindOf(mode_t mode)
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

Error openFailure(int error, std::string_view doing)
{
    if (error == ENOTDIR)
        return {"Part of the path is a file, not a folder."};
    return {"The file could not be " + std::string(doing) + ": " + SystemFile::reason(error) + "."};
}

Error nulInName() { return {"The name holds a NUL byte, which no file name can hold."}; }

std::optional<Error> notReadable(const struct stat &info)
{
    if (S_ISREG(info.st_mode))
        return std::nullopt;
    if (S_ISDIR(info.st_mode))
        return Error{"It is a folder, not a file."};
    return Error{"It is " + kindOf(info.st_mode) + ", not a regular file."};
}

Result<std::string> readLink(const std::string &path)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return openFailure(errno, "opened");
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// The name a chain of symbolic links ends at, which the new file takes; the
// links themselves stay as they are.
Result<std::string> finalName(std::string path)
{
    for (int links = 0; links <= kMostLinks; ++links) {
        struct stat info;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        Result<std::string> target = readLink(path);
        if (!target)
            return target.error();
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
        path = target->starts_with('/') ? *target : folder + *target;
    }
    return openFailure(ELOOP, "created");
}

Status replace(const std::string &target, std::string_view bytes, const struct stat *old)
{
    // A file the user may not write is not replaced either, though the
    // folder would allow it.
    if (old && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return Error{"The file could not be written: " + SystemFile::reason(errno) + "."};
    Result<ReplacementFile> file = ReplacementFile::create(target);
    if (!file)
        return file.error();
    if (old) {
        if (Status owned = file.value().takeOwnerAndMode(*old); !owned)
            return owned;
    }
    if (Status written = file.value().write(bytes); !written)
        return written;
    return file.value().commit();
}

// Devices and pipes are written as they are: replacing one with a regular
// file would break it for every other program.
Status writeInPlace(const std::string &path, std::string_view bytes)
{
    const BrokenPipeGuard guard;
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        return openFailure(errno, "opened");
    struct stat info;
    if (::fstat(file.get(), &info) != 0)
        return SystemFile::writeFailure(errno);
    if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode))
        return Error{"It was replaced by " + kindOf(info.st_mode) + " while it was being opened; nothing was written."};
    if (Status written = SystemFile::writeAll(file.get(), bytes); !written)
        return written;
    if (file.close() != 0)
        return SystemFile::writeFailure(errno);
    return {};
}

} // namespace

Result<std::string> SystemFile::read(const std::string &path, std::size_t maxBytes)
{
    if (path.find('\0') != std::string::npos)
        return nulInName();
    struct stat info;
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? Error{"The file does not exist."} : openFailure(errno, "opened");
    if (auto refused = notReadable(info))
        return *refused;
    // Without waiting, should a pipe have taken the file's place meanwhile.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0)
        return openFailure(errno, "opened");
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

Status SystemFile::write(const std::string &path, std::string_view bytes)
{
    if (path.empty())
        return Error{"No file name was given."};
    if (path.find('\0') != std::string::npos)
        return nulInName();
    struct stat info;
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return openFailure(errno, "created");
    if (exists && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)))
        return writeInPlace(path, bytes);
    if (exists && !S_ISREG(info.st_mode))
        return Error{"It is " + kindOf(info.st_mode) + ", not a file."};
    const Result<std::string> target = finalName(path);
    if (!target)
        return target.error();
    return replace(*target, bytes, exists ? &info : nullptr);
}

std::string SystemFile::printableName(std::string_view path)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < path.size();) {
        const std::size_t length = validSequenceLength(path.substr(i));
        if (length > 0) {
            text.append(path.substr(i, length));
            i += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(path[i++]);
        text.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
    }
    return text;
}

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
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return writeFailure(written == 0 ? ENOSPC : errno);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return {};
}

Error SystemFile::writeFailure(int systemError)
{
    if (isDiskFull(systemError))
        return {"Not all of the file could be written; the disk may be full."};
    return {"The file could not be written: " + reason(systemError) + "."};
}

} // namespace zelbrook
