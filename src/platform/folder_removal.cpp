// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folder_removal.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace zelbrook {

namespace {

// Deeper than anything the program or Qt makes in its folder.
constexpr int kDepth = 6;

bool removeEntry(int parent, const char *name, int depth);

// Empties the open folder; a pass that removed something is followed by
// another, since removing while reading may skip entries.
void removeEntriesOf(int folder, int depth)
{
    for (bool removedAny = true; removedAny;) {
        removedAny = false;
        ::lseek(folder, 0, SEEK_SET);
        alignas(dirent64) char buffer[4096];
        for (ssize_t got; (got = ::getdents64(folder, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto *entry = reinterpret_cast<const dirent64 *>(buffer + at);
                at += entry->d_reclen;
                if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
                    continue;
                removedAny = removeEntry(folder, entry->d_name, depth - 1) || removedAny;
            }
        }
    }
}

// Whether the entry is gone.
bool removeEntry(int parent, const char *name, int depth)
{
    if (::unlinkat(parent, name, 0) == 0)
        return true;
    if ((errno != EISDIR && errno != EPERM) || depth < 0)
        return false;
    const int folder = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return false;
    removeEntriesOf(folder, depth);
    ::close(folder);
    return ::unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

} // namespace

void removeFolderTree(const char *path) { removeEntry(AT_FDCWD, path, kDepth); }

} // namespace zelbrook
