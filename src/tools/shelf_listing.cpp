// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/shelf_listing.h"

#include "platform/shelf_folders.h"

#include <QFile>

namespace zelbrook {

std::string shelfListing()
{
    std::string listing;
    for (const QString &folder : {ShelfFolders::shipped(ShelfKind::Poses), ShelfFolders::userPoses()}) {
        for (const ShelfFile &file : ShelfFolders::files(folder, ShelfKind::Poses))
            listing += file.name.toStdString() + '\t' + QFile::encodeName(file.path).toStdString() + '\n';
    }
    return listing;
}

} // namespace zelbrook
