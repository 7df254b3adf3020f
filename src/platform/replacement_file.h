// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <sys/stat.h>

namespace zelbrook {

// A new file beside a target name that takes the target's place only once it
// is complete. Until then the target is untouched, and a replacement that is
// dropped unfinished removes its file.
class ReplacementFile
{
public:
    // Creates the new file in the target's folder, with the mode that the
    // process's umask gives a new file.
    static Result<ReplacementFile> create(const std::string &target);

    ReplacementFile(ReplacementFile &&other) noexcept;
    ReplacementFile &operator=(ReplacementFile &&) = delete;
    ~ReplacementFile();

    // Gives the new file the old one's owner and group where the process may,
    // then its permission bits; set-user-ID and set-group-ID bits only when
    // the owner could be kept.
    Status takeOwnerAndMode(const struct stat &old);
    // The new file's name, for a program that writes the file itself.
    const std::string &name() const { return m_name; }
    // Writes all of the bytes after those written before.
    Status write(std::string_view bytes);
    // Flushes the file to the disk and closes it; once finished, only its
    // putting in place is left.
    Status finish();
    // Finishes the file and puts it in the target's place.
    Status commit();

    // Which of several files failed, counted from 0, and why.
    struct Failure {
        std::size_t file;
        Error error;
    };
    // Finishes every file, then puts them all in place one after another
    // with the ending signals held off across the renames, so that a failed
    // write leaves every target as it was and a signal never comes between
    // two of them. Nothing when all of them are in place.
    static std::optional<Failure> commitAll(std::span<ReplacementFile> files);

private:
    ReplacementFile(int descriptor, std::string name, std::string target);
    void discard();
    // Renames the finished file over its target; the caller holds the ending
    // signals off.
    Status putInPlace();

    int m_descriptor;
    std::string m_name;
    std::string m_target;
    int m_slot; // in ExitCleanup
};

} // namespace zelbrook
