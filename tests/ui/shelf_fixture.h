// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/form1.h"
#include "ui/pose_shelf_panel.h"
#include "ui/shelf_commands.h"

#include <QString>

#include <algorithm>
#include <vector>

// The window's shelf panel, shown, with the shipped folders and the user's
// own poses in `userFolder`.
inline zelbrook::PoseShelfPanel *shownShelf(zelbrook::Form1 &window, const QString &userFolder)
{
    auto *commands = window.findChild<zelbrook::ShelfCommands *>();
    zelbrook::PoseShelf::Folders folders = zelbrook::PoseShelf::standardFolders();
    folders.userPoses = userFolder;
    commands->setFolders(folders);
    commands->showPoses();
    return commands->panel();
}

// The row of the item of that name, or -1.
inline int rowNamed(const std::vector<zelbrook::ShelfItem> &items, const QString &name)
{
    const auto found = std::ranges::find_if(items, [&](const zelbrook::ShelfItem &i) { return i.name == name; });
    return found == items.end() ? -1 : int(found - items.begin());
}
