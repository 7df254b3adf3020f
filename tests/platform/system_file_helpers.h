// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/system_file.h"

#include <QTest>

#include <algorithm>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace zelbrook {

// The message of a failure, or nothing.
inline QString messageOf(const Status &status)
{
    return status ? QString() : QString::fromStdString(status.error().message);
}

// What a file holds, or <the message> when it cannot be read.
inline std::string contentOf(const std::string &path)
{
    const Result<std::string> content = SystemFile::read(path, 1 << 20);
    return content ? *content : "<" + content.error().message + ">";
}

inline void putFile(const std::string &path, std::string_view bytes)
{
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY(descriptor >= 0);
    QCOMPARE(::write(descriptor, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(descriptor);
}

// The names in a folder, as the bytes the system holds, in order.
inline std::vector<std::string> entries(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *listing = ::opendir(folder.c_str());
    while (const dirent *entry = listing ? ::readdir(listing) : nullptr) {
        if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..")
            names.emplace_back(entry->d_name);
    }
    if (listing)
        ::closedir(listing);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace zelbrook
