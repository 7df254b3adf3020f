// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// What the shelf holds: poses (.zbk) or moves (.zba).
enum class ShelfKind { Poses, Moves };

// One file on the shelf, named after the file without its extension.
struct ShelfFile {
    QString name;
    QString path;
    // The name and the path as the very bytes they are, which need not be
    // UTF-8 (a file named by hand); name and path show such a byte as
    // U+FFFD.
    std::string nameBytes;
    std::string systemPath;
};

// Where the shelf's files live. The ones that come with the program are
// under share/zelbrook beside the program: in a build tree the program sits
// a folder or two below <build>/share, once installed one below
// <prefix>/share, and the nearest wins. The user's own poses are in
// $XDG_DATA_HOME/zelbrook/poses, ~/.local/share when that is unset.
class ShelfFolders
{
public:
    // The folder of the program's own files of that kind; empty when there
    // is none.
    static QString shipped(ShelfKind kind);
    static QString userPoses();

    // The pose and animation files of a folder, in order of their names,
    // whatever bytes their names hold; a missing folder has none, and hidden
    // files are left out.
    static std::vector<ShelfFile> files(const QString &folder, ShelfKind kind);

    // A file name for a pose name: any text, the characters a file name
    // cannot hold (and the escape character itself) written as %XX of their
    // UTF-8 bytes, so that the name comes back whole. Empty for an empty
    // name.
    static QString fileNameFor(const QString &name, ShelfKind kind);
    // The pose name a file name gives back, as bytes.
    static std::string nameOf(std::string_view fileName);
};

} // namespace zelbrook
