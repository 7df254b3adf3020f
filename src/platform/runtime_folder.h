// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zelbrook {

// Qt looks for its runtime folder at start-up and, when XDG_RUNTIME_DIR is
// not set (a script, a container, a sandbox, a session without one), makes
// runtime-USER in the temporary folder and leaves it there. A private folder
// of the program's own takes its place for the run and is removed at its
// end, or when a signal ends the program, so that the program leaves nothing
// behind. Made before the
// application object and ended after it.
class RuntimeFolder
{
public:
    // The folder is named after the program.
    explicit RuntimeFolder(std::string_view program);
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder &) = delete;
    RuntimeFolder &operator=(const RuntimeFolder &) = delete;

    // Removes the folder, if one was made, with anything in it; a program
    // that needs it no more once Qt has looked at it may call this early.
    void remove() const;

private:
    std::string m_path;
};

} // namespace zelbrook
