#pragma once

#include "model/result.h"

#include <cstddef>
#include <string>
#include <string_view>

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

    // Writes the bytes to `path`. A regular file, or a name that does not
    // exist yet, is replaced as a whole: the bytes go to a new file in the
    // same folder, which takes the old file's owner, group and mode and is
    // renamed over it only once all of it is written and flushed, so a failed
    // write leaves the old file exactly as it was. A symbolic link is
    // followed and stays a link. A character device or a pipe is written
    // directly and stays what it is. A folder, a socket or a block device is
    // refused, and nothing is touched.
    static Status write(const std::string &path, std::string_view bytes);

    // The name as text for a message: valid UTF-8 as it is, every byte that
    // is not part of a valid UTF-8 sequence as \xff.
    static std::string printableName(std::string_view path);

    // The system's description of an error number, to stand after a colon
    // in a sentence: "permission denied".
    static std::string reason(int systemError);
    // Writes all of the bytes to an open file. A short write is a failure
    // that blames a full disk.
    static Status writeAll(int descriptor, std::string_view bytes);
    // The failure of a write or flush with the given error number.
    static Error writeFailure(int systemError);
};

} // namespace zelbrook
