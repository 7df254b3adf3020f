// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/shelf_listing.h"

#include "model/printable_text.h"
#include "platform/shelf_folders.h"

namespace zelbrook {

std::string shelfListing()
{
    std::string listing;
    for (const QString &folder : {ShelfFolders::shipped(ShelfKind::Poses), ShelfFolders::userPoses()}) {
        for (const ShelfFile &file : ShelfFolders::files(folder, ShelfKind::Poses))
            listing += printableText(file.nameBytes) + '\t' + printableText(file.systemPath) + '\n';
    }
    return listing;
}

} // namespace zelbrook
