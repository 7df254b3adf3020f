// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace zelbrook {

// The editor's command line, split before Qt sees it. QApplication takes its
// own options (-reverse, -style and the like) out of the arguments, so a pose
// file named like one of them would be lost: an argument that names an
// existing file is that file, and "--" ends the options.
struct EditorArguments {
    // The program's name and Qt's options with their values, in their order,
    // for QApplication.
    std::vector<char *> qtArguments;
    // The pose files named, as the bytes given.
    std::vector<std::string> files;

    static EditorArguments split(int argc, char *argv[]);

    // The name with the current folder in front of it when it is relative,
    // so that it still means the same file after the folder changes. The
    // system resolves it as it would have resolved the name given.
    static std::string absoluteName(const std::string &name);
};

} // namespace zelbrook
