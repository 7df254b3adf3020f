// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

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
    // Flushes the file to the disk and puts it in the target's place.
    Status commit();

private:
    ReplacementFile(int descriptor, std::string name, std::string target);
    void discard();

    int m_descriptor;
    std::string m_name;
    std::string m_target;
    int m_slot; // in ExitCleanup
};

} // namespace zelbrook
