// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/output_stream.h"

#include "platform/broken_pipe_guard.h"
#include "platform/system_file.h"

#include <cerrno>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

Result<std::string> readLink(const std::string &path)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return SystemFile::openFailure(errno, "opened");
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
        const std::string folder = path.substr(0, path.rfind('/') + 1);
        path = target->starts_with('/') ? *target : folder + *target;
    }
    return SystemFile::openFailure(ELOOP, "created");
}

Result<ReplacementFile> replacementFor(const std::string &path, const struct stat *old)
{
    const Result<std::string> target = finalName(path);
    if (!target)
        return target.error();
    // A file the user may not write is not replaced either, though the
    // folder would allow it.
    if (old && ::faccessat(AT_FDCWD, target->c_str(), W_OK, AT_EACCESS) != 0)
        return Error{"The file could not be written: " + SystemFile::reason(errno) + "."};
    Result<ReplacementFile> file = ReplacementFile::create(*target);
    if (file && old) {
        if (Status owned = file.value().takeOwnerAndMode(*old); !owned)
            return owned.error();
    }
    return file;
}

// Devices and pipes are written as they are: replacing one with a regular
// file would break it for every other program.
Result<int> openInPlace(const std::string &path)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return SystemFile::openFailure(errno, "opened");
    struct stat info;
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        return SystemFile::writeFailure(error);
    }
    if (!S_ISCHR(info.st_mode) && !S_ISFIFO(info.st_mode)) {
        ::close(descriptor);
        return Error{"It was replaced by " + SystemFile::kindOf(info.st_mode)
                     + " while it was being opened; nothing was written."};
    }
    return descriptor;
}

} // namespace

OutputStream::OutputStream(Kind kind, int descriptor, std::optional<ReplacementFile> replacement)
    : m_kind(kind)
    , m_descriptor(descriptor)
    , m_replacement(std::move(replacement))
{}

OutputStream::OutputStream(OutputStream &&other) noexcept
    : m_kind(other.m_kind)
    , m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_replacement(std::move(other.m_replacement))
{}

OutputStream::~OutputStream()
{
    if (m_kind == Kind::Device && m_descriptor >= 0)
        ::close(m_descriptor);
}

Result<OutputStream> OutputStream::open(const std::string &path)
{
    if (path.empty())
        return Error{"No file name was given."};
    if (path.find('\0') != std::string::npos)
        return SystemFile::nulInName();
    struct stat info;
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return SystemFile::openFailure(errno, "created");
    if (exists && (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode))) {
        const Result<int> descriptor = openInPlace(path);
        if (!descriptor)
            return descriptor.error();
        return OutputStream(Kind::Device, *descriptor, std::nullopt);
    }
    if (exists && !S_ISREG(info.st_mode))
        return Error{"It is " + SystemFile::kindOf(info.st_mode) + ", not a file."};
    Result<ReplacementFile> file = replacementFor(path, exists ? &info : nullptr);
    if (!file)
        return file.error();
    return OutputStream(Kind::Replacement, -1, std::move(file).value());
}

Result<ReplacementFile> OutputStream::replacementFile(const std::string &path)
{
    struct stat info;
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (!exists && errno != ENOENT)
        return SystemFile::openFailure(errno, "created");
    if (exists && !S_ISREG(info.st_mode))
        return Error{"It is " + SystemFile::kindOf(info.st_mode) + ", not a file."};
    return replacementFor(path, exists ? &info : nullptr);
}

OutputStream OutputStream::standardOutput() { return OutputStream(Kind::StandardOutput, STDOUT_FILENO, std::nullopt); }

Status OutputStream::write(std::string_view bytes)
{
    if (m_replacement)
        return m_replacement->write(bytes);
    const BrokenPipeGuard guard;
    if (const int error = SystemFile::writeAllBytes(m_descriptor, bytes); error != 0)
        return failure(error);
    return {};
}

Status OutputStream::commit()
{
    if (m_replacement)
        return m_replacement->commit();
    if (m_kind == Kind::Device && ::close(std::exchange(m_descriptor, -1)) != 0)
        return failure(errno);
    return {};
}

Error OutputStream::failure(int systemError) const
{
    if (m_kind == Kind::StandardOutput)
        return {"It could not be written: " + std::generic_category().message(systemError) + "."};
    return SystemFile::writeFailure(systemError);
}

} // namespace zelbrook
