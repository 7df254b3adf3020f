// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/numbered_files.h"

#include "platform/exit_cleanup.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace zelbrook {

NumberedFiles::NumberedFiles(std::string stemPath, std::size_t count, std::string_view extension)
    : m_prefix(std::move(stemPath) + "-")
    , m_suffix(std::string(".").append(extension))
    , m_count(count)
    , m_digits(std::max<std::size_t>(4, std::to_string(count).size()))
    , m_created(new std::atomic<bool>[count]())
    , m_slot(ExitCleanup::addNumbered(this))
{}

NumberedFiles::~NumberedFiles() { ExitCleanup::removeNumbered(m_slot); }

std::string NumberedFiles::name(std::size_t index) const
{
    const std::string number = std::to_string(index + 1);
    std::string name = m_prefix;
    name.append(m_digits - number.size(), '0').append(number).append(m_suffix);
    return name;
}

void NumberedFiles::aboutToWrite(std::size_t index)
{
    struct stat status {};
    if (::lstat(name(index).c_str(), &status) != 0 && errno == ENOENT)
        m_created[index].store(true);
}

std::size_t NumberedFiles::removeCreated() const
{
    std::size_t removed = 0;
    char buffer[PATH_MAX];
    for (std::size_t index = 0; index < m_count; ++index)
        if (m_created[index].load() && nameInto(index, buffer) && ::unlink(buffer) == 0)
            ++removed;
    return removed;
}

bool NumberedFiles::nameInto(std::size_t index, char *buffer) const
{
    if (m_prefix.size() + m_digits + m_suffix.size() >= PATH_MAX)
        return false;
    char *out = buffer;
    std::memcpy(out, m_prefix.data(), m_prefix.size());
    out += m_prefix.size() + m_digits;
    for (std::size_t number = index + 1, place = 0; place < m_digits; ++place, number /= 10)
        *(out - 1 - place) = static_cast<char>('0' + number % 10);
    std::memcpy(out, m_suffix.c_str(), m_suffix.size() + 1);
    return true;
}

} // namespace zelbrook
