// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <sys/types.h>

namespace zelbrook {

class NumberedFiles;

// What must not outlive the program when a signal ends it: the temporary
// files being written at this moment, the numbered files a run created, a
// folder of the program's own and the helper programs it started. The
// lists are fixed tables that a signal handler can walk without taking a
// lock or allocating; the signals can be held off while an entry is made.
class ExitCleanup
{
public:
    static constexpr int kNoSlot = -1;

    // Enters the name and gives its slot, or kNoSlot when the name is too
    // long or every slot is taken: such a file is then not removed by a
    // signal, but everything else about it works.
    static int add(const std::string &path);
    // Takes the name out again; kNoSlot is ignored.
    static void remove(int slot);

    // A helper program, ended with its whole process group before any file
    // is removed, so that it cannot write one again.
    static int addChild(pid_t pid);
    static void removeChild(int slot);
    // Numbered files being written: those the run created are removed.
    static int addNumbered(const NumberedFiles *files);
    static void removeNumbered(int slot);
    // A folder of the program's own, removed with everything in it; one at
    // a time.
    static void setFolder(const std::string &path);
    static void clearFolder();

    // Between these two, a file can be made and entered with no signal
    // coming in between: the signals are held off on this thread, and a
    // signal that reaches another thread meanwhile waits for the release
    // before it removes the files entered.
    static void holdTermination();
    static void releaseTermination();

    // From now on SIGINT, SIGTERM and SIGHUP end the helper programs, remove
    // every file and folder entered and say how many numbered files were
    // removed, then end the program as the signal would have. A signal that was ignored
    // when the program started stays ignored.
    static void removeOnTermination();
};

} // namespace zelbrook
