// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/atlas_clash.h"

#include <map>
#include <unordered_map>

#include <sys/stat.h>

namespace zelbrook {

namespace {

using FileIdentity = std::pair<dev_t, ino_t>;

std::optional<FileIdentity> identityOf(const std::string &name)
{
    struct stat status {};
    if (name.empty() || ::stat(name.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

} // namespace

std::optional<std::pair<std::size_t, std::size_t>> AtlasClash::find(std::size_t inputs, const Name &input,
                                                                    const Name &atlas)
{
    std::unordered_map<std::string, std::size_t> byName;
    std::map<FileIdentity, std::size_t> byFile;
    for (std::size_t index = 0; index < inputs; ++index) {
        std::string name = input(index);
        if (name.empty())
            continue;
        if (const std::optional<FileIdentity> file = identityOf(name))
            byFile.emplace(*file, index);
        byName.emplace(std::move(name), index);
    }
    for (std::size_t index = 0; index < inputs; ++index) {
        const std::string name = atlas(index);
        if (const auto named = byName.find(name); named != byName.end())
            return std::pair{index, named->second};
        if (const std::optional<FileIdentity> file = identityOf(name))
            if (const auto same = byFile.find(*file); same != byFile.end())
                return std::pair{index, same->second};
    }
    return std::nullopt;
}

} // namespace zelbrook
