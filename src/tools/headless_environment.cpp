// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/headless_environment.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace zelbrook {

namespace {

// The folder of the font the canvas writes with, as Debian installs it.
constexpr const char *kFontFolder = "/usr/share/fonts/truetype/dejavu";
constexpr const char *kSystemConfiguration = "/etc/fonts/fonts.conf";

bool isSet(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

} // namespace

HeadlessEnvironment::HeadlessEnvironment()
{
    configureFontsIfUnconfigured();
    makeRuntimeFolderIfUnset();
}

HeadlessEnvironment::~HeadlessEnvironment() { removeRuntimeFolder(); }

void HeadlessEnvironment::removeRuntimeFolder() const
{
    if (!m_runtimeFolder.empty())
        ::rmdir(m_runtimeFolder.c_str());
}

// Without its configuration file, fontconfig complains on standard error and
// then scans folders whose caches it cannot write, complaining again. A
// configuration made here holds the font files themselves, which it reads
// without a cache and without a word.
void HeadlessEnvironment::configureFontsIfUnconfigured()
{
    if (isSet("FONTCONFIG_FILE") || isSet("FONTCONFIG_PATH") || ::access(kSystemConfiguration, R_OK) == 0)
        return;
    FcConfig *config = FcConfigCreate();
    if (!config)
        return;
    std::error_code error;
    for (const auto &entry : std::filesystem::directory_iterator(kFontFolder, error))
        if (entry.is_regular_file(error))
            FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8 *>(entry.path().c_str()));
    FcConfigSetCurrent(config);
    FcConfigDestroy(config);
}

// Qt looks for its runtime folder at start-up and, when XDG_RUNTIME_DIR is
// not set, makes /tmp/runtime-USER and leaves it there. A folder of the
// program's own, which it removes, takes its place.
void HeadlessEnvironment::makeRuntimeFolderIfUnset()
{
    if (isSet("XDG_RUNTIME_DIR"))
        return;
    std::string name = std::string(isSet("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/zelbrook-render-XXXXXX";
    if (!::mkdtemp(name.data()))
        return;
    m_runtimeFolder = name;
    ::setenv("XDG_RUNTIME_DIR", m_runtimeFolder.c_str(), 1);
}

} // namespace zelbrook
