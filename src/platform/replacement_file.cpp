// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/replacement_file.h"

#include "platform/system_file.h"

#include "platform/exit_cleanup.h"

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace zelbrook {

namespace {

constexpr int kNameAttempts = 100;

// Keeps a terminating signal from coming between the making of a file and
// its entry among the files in flight.
class TerminationHold
{
public:
    TerminationHold() { ExitCleanup::holdTermination(); }
    TerminationHold(const TerminationHold &) = delete;
    TerminationHold &operator=(const TerminationHold &) = delete;
    ~TerminationHold() { ExitCleanup::releaseTermination(); }
};

// The folder part of a name, with its slash.
std::string folderOf(const std::string &path) { return path.substr(0, path.rfind('/') + 1); }

Error creationFailure(int error)
{
    switch (error) {
    case ENOENT:
        return {"The folder does not exist."};
    case ENOTDIR:
        return {"Part of the path is a file, not a folder."};
    default:
        return {"The file could not be created: " + SystemFile::reason(error) + "."};
    }
}

// Makes the folder's entry for the new name last across a crash too; a
// folder that cannot be flushed costs nothing but that.
void flushFolder(const std::string &folder)
{
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    ::fsync(descriptor);
    ::close(descriptor);
}

} // namespace

ReplacementFile::ReplacementFile(int descriptor, std::string name, std::string target)
    : m_descriptor(descriptor)
    , m_name(std::move(name))
    , m_target(std::move(target))
    , m_slot(ExitCleanup::add(m_name))
{}

ReplacementFile::ReplacementFile(ReplacementFile &&other) noexcept
    : m_descriptor(std::exchange(other.m_descriptor, -1))
    , m_name(std::move(other.m_name))
    , m_target(std::move(other.m_target))
    , m_slot(std::exchange(other.m_slot, ExitCleanup::kNoSlot))
{
    other.m_name.clear();
}

ReplacementFile::~ReplacementFile() { discard(); }

void ReplacementFile::discard()
{
    if (m_descriptor >= 0)
        ::close(std::exchange(m_descriptor, -1));
    if (!m_name.empty())
        ::unlink(std::exchange(m_name, std::string()).c_str());
    ExitCleanup::remove(std::exchange(m_slot, ExitCleanup::kNoSlot));
}

Result<ReplacementFile> ReplacementFile::create(const std::string &target)
{
    if (target.empty() || target.ends_with('/'))
        return Error{"The name ends with a slash, as a folder's name does, not a file's."};
    const TerminationHold hold;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = SystemFile::temporaryNameBeside(target);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (descriptor >= 0)
            return ReplacementFile(descriptor, std::move(name), target);
        if (errno != EEXIST)
            return creationFailure(errno);
    }
    return Error{"The file could not be created: no free temporary name was found beside it."};
}

Status ReplacementFile::takeOwnerAndMode(const struct stat &old)
{
    const bool ownerKept = ::fchown(m_descriptor, old.st_uid, old.st_gid) == 0;
    if (!ownerKept)
        (void)::fchown(m_descriptor, static_cast<uid_t>(-1), old.st_gid);
    // A change of owner clears the set-ID bits, so the mode comes after it.
    const mode_t mode = old.st_mode & (ownerKept ? 07777 : 0777);
    if (::fchmod(m_descriptor, mode) != 0 && errno != EPERM && errno != EOPNOTSUPP)
        return Error{"The new file could not be given the old one's permissions: " + SystemFile::reason(errno) + "."};
    return {};
}

Status ReplacementFile::write(std::string_view bytes) { return SystemFile::writeAll(m_descriptor, bytes); }

Status ReplacementFile::finish()
{
    if (m_descriptor < 0)
        return {};
    if (::fsync(m_descriptor) != 0)
        return SystemFile::writeFailure(errno);
    if (::close(std::exchange(m_descriptor, -1)) != 0)
        return SystemFile::writeFailure(errno);
    return {};
}

Status ReplacementFile::putInPlace()
{
    if (::rename(m_name.c_str(), m_target.c_str()) != 0)
        return Error{"The finished file could not be put in place: " + SystemFile::reason(errno) + "."};
    m_name.clear();
    ExitCleanup::remove(std::exchange(m_slot, ExitCleanup::kNoSlot));
    return {};
}

Status ReplacementFile::commit()
{
    if (std::optional<Failure> failure = commitAll(std::span(this, 1)))
        return std::move(failure->error);
    return {};
}

std::optional<ReplacementFile::Failure> ReplacementFile::commitAll(std::span<ReplacementFile> files)
{
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (Status finished = files[i].finish(); !finished)
            return Failure{i, finished.error()};
    }
    {
        // A signal finds each file under its temporary name or in its place,
        // never on its way to a place no longer looked at.
        const TerminationHold hold;
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (Status placed = files[i].putInPlace(); !placed)
                return Failure{i, placed.error()};
        }
    }
    for (const ReplacementFile &file : files)
        flushFolder(folderOf(file.m_target));
    return std::nullopt;
}

} // namespace zelbrook
