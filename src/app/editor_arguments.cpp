// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor_arguments.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

#include <sys/stat.h>

namespace zelbrook {

namespace {

// Qt's options that take the next argument as their value, unless written
// with "=". Qt reads "--style" as "-style".
constexpr std::array<std::string_view, 15> kQtOptionsWithValue = {
    "platform",  "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry", "geometry", "qwindowtitle",
    "title",     "qwindowicon",        "icon",          "display", "session",         "name",     "style",
    "stylesheet"};

bool namesExistingFile(const char *argument)
{
    struct stat info;
    return ::stat(argument, &info) == 0 && !S_ISDIR(info.st_mode);
}

bool takesValue(std::string_view option)
{
    option.remove_prefix(option.starts_with("--") ? 2 : 1);
    return option.find('=') == std::string_view::npos
           && std::ranges::find(kQtOptionsWithValue, option) != kQtOptionsWithValue.end();
}

} // namespace

EditorArguments EditorArguments::split(int argc, char *argv[])
{
    EditorArguments arguments;
    if (argc > 0)
        arguments.qtArguments.push_back(argv[0]);
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (optionsEnded || namesExistingFile(argv[i]) || !argument.starts_with('-') || argument == "-") {
            arguments.files.emplace_back(argument);
        } else {
            arguments.qtArguments.push_back(argv[i]);
            if (takesValue(argument) && i + 1 < argc)
                arguments.qtArguments.push_back(argv[++i]);
        }
    }
    return arguments;
}

std::string EditorArguments::absoluteName(const std::string &name)
{
    if (name.starts_with('/'))
        return name;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error)
        return name;
    // Only "." and empty parts are dropped: ".." after a symbolic link to a
    // folder goes up from where the link points, which the system knows and
    // the name alone does not.
    std::string absolute = folder.native();
    for (std::size_t start = 0; start <= name.size();) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        const std::string_view part = std::string_view(name).substr(start, end - start);
        if (!part.empty() && part != ".")
            absolute.append(absolute.ends_with('/') ? "" : "/").append(part);
        start = end + 1;
    }
    return absolute;
}

} // namespace zelbrook
