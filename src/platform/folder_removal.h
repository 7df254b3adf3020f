// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace zelbrook {

// Removes a folder with everything in it, a few levels deep, following no
// symbolic link. Safe in a signal handler: only system calls, no allocation.
void removeFolderTree(const char *path);

} // namespace zelbrook
