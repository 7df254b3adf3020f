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

HeadlessEnvironment::HeadlessEnvironment() { configureFontsIfUnconfigured(); }

HeadlessEnvironment::~HeadlessEnvironment() = default;

void HeadlessEnvironment::removeRuntimeFolder() const { m_runtimeFolder.remove(); }

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

} // namespace zelbrook
