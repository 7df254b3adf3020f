// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <cstddef>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace zelbrook {

// Whole-file input and output through the system's own calls, for names given
// as the bytes the system holds: a name need not be UTF-8 text. Error texts
// are sentences in plain words, with the system's reason where it gave one,
// that leave the file's name to the caller.
class SystemFile
{
public:
    // The whole content of a regular file, read to its end whatever size the
    // system reports for it. A file longer than maxBytes is an error rather
    // than being cut short; folders, devices and pipes are errors too.
    static Result<std::string> read(const std::string &path, std::size_t maxBytes);

    // No pose file comes near this; a larger one is refused, not cut.
    static constexpr std::size_t kLargestPoseFile = 1024 * 1024;
    // The bytes of a pose file, for the editor and zelbrook-render alike.
    static Result<std::string> readPoseBytes(const std::string &path);

    // Writes the bytes to `path` as an OutputStream does: a regular file is
    // replaced only once all of it is written, a device or a pipe is written
    // directly.
    static Status write(const std::string &path, std::string_view bytes);

    // A name for a new file in the target's folder: the target's name, a dot,
    // eight random letters or digits, then `ending`. Where that would be
    // longer than the folder allows a name to be, the target's part is cut
    // short.
    static std::string temporaryNameBeside(const std::string &target, std::string_view ending = {});

    // The name as text for a message: valid UTF-8 as it is, every byte that
    // is not part of a valid UTF-8 sequence as \xff, and control characters
    // as \x1b too, so that a name cannot act on the terminal showing it.
    static std::string printableName(std::string_view path);

    // The system's description of an error number, to stand after a colon
    // in a sentence: "permission denied".
    static std::string reason(int systemError);
    // Writes all of the bytes to an open file. A short write is a failure
    // that blames a full disk.
    static Status writeAll(int descriptor, std::string_view bytes);
    // The same, giving the system's error number, or 0 when all was written.
    static int writeAllBytes(int descriptor, std::string_view bytes);
    // The failure of a write or flush with the given error number.
    static Error writeFailure(int systemError);
    // The failure to open or create a file: `doing` is "opened" or "created".
    static Error openFailure(int systemError, std::string_view doing);
    static Error nulInName();
    // "a folder", "a pipe" and so on, for the kind of a file that is not a
    // regular one.
    static std::string kindOf(mode_t mode);
};

} // namespace zelbrook
