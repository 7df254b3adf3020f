// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtime_folder.h"

#include "platform/exit_cleanup.h"

#include <cstdlib>
#include <filesystem>

namespace zelbrook {

namespace {

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

RuntimeFolder::RuntimeFolder(std::string_view program)
{
    if (isSet("XDG_RUNTIME_DIR"))
        return;
    std::string name =
        std::string(isSet("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/" + std::string(program) + "-XXXXXX";
    if (!::mkdtemp(name.data()))
        return;
    m_path = name;
    ExitCleanup::setFolder(m_path);
    ::setenv("XDG_RUNTIME_DIR", m_path.c_str(), 1);
}

RuntimeFolder::~RuntimeFolder() { remove(); }

void RuntimeFolder::remove() const
{
    std::error_code ignored;
    if (m_path.empty())
        return;
    ExitCleanup::clearFolder();
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace zelbrook
