// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "platform/replacement_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace zelbrook {

// Output written piece by piece to a named file or to standard output. A
// regular file, or a name that does not exist yet, is replaced as a whole:
// the bytes go to a new file in the same folder, which takes the old file's
// owner, group and mode and is renamed over it by commit() once all of it is
// written and flushed, so a failed or abandoned output leaves the old file
// exactly as it was. A symbolic link is followed and stays a link. A
// character device or a pipe is written directly and stays what it is. A
// folder, a socket or a block device is refused, and nothing is touched.
class OutputStream
{
public:
    static Result<OutputStream> open(const std::string &path);
    // The new file that would replace a regular file or a new name, as
    // open() makes it, for a program that writes the file itself. Anything
    // but a regular file is refused.
    static Result<ReplacementFile> replacementFile(const std::string &path);
    // Descriptor 1, written directly. Its failures read "It could not be
    // written: Broken pipe.", as the system words the reason.
    static OutputStream standardOutput();

    OutputStream(OutputStream &&other) noexcept;
    OutputStream &operator=(OutputStream &&) = delete;
    // Without a commit, a new file is removed again.
    ~OutputStream();

    // Writes all of the bytes after those written before. A write to a pipe
    // whose reader has gone fails with "broken pipe", never by a signal.
    Status write(std::string_view bytes);
    // Ends the output: a new file takes the target's place.
    Status commit();

private:
    enum class Kind { Replacement, Device, StandardOutput };
    OutputStream(Kind kind, int descriptor, std::optional<ReplacementFile> replacement);
    Error failure(int systemError) const;

    Kind m_kind;
    int m_descriptor; // owned for a device only
    std::optional<ReplacementFile> m_replacement;
};

} // namespace zelbrook
