// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace zelbrook {

// Files a run writes one by one under numbered names, "walk-0001.png" and
// on: the number from 1, in at least four digits and in as many as the last
// number needs. The names this run creates (those that did not exist before
// it wrote them) are remembered, so that a run that fails, or a signal that
// ends the program, removes them again; a file it replaced stays replaced.
class NumberedFiles
{
public:
    NumberedFiles(std::string stemPath, std::size_t count, std::string_view extension);
    ~NumberedFiles();
    NumberedFiles(const NumberedFiles &) = delete;
    NumberedFiles &operator=(const NumberedFiles &) = delete;

    std::size_t count() const { return m_count; }
    std::string name(std::size_t index) const;
    // Called just before the file is written: remembers it as new when no
    // file of its name exists yet.
    void aboutToWrite(std::size_t index);
    void written() { ++m_written; }
    std::size_t writtenCount() const { return m_written.load(); }

    // Removes the files this run created and gives how many there were. Safe
    // in a signal handler: it neither allocates nor locks.
    std::size_t removeCreated() const;

private:
    // Writes the name into `buffer`, which holds PATH_MAX bytes; false when
    // it does not fit.
    bool nameInto(std::size_t index, char *buffer) const;

    std::string m_prefix; // "DIR/walk-"
    std::string m_suffix; // ".png"
    std::size_t m_count;
    std::size_t m_digits;
    std::unique_ptr<std::atomic<bool>[]> m_created;
    std::atomic<std::size_t> m_written{0};
    int m_slot;
};

} // namespace zelbrook
