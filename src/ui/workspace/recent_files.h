// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>

#include <string>
#include <vector>

namespace zelbrook {

class AnimationFiles;

// The animation files opened or saved in this run, the latest first, as the
// File menu's Open Recent, which opens one again. The editor keeps nothing
// between runs but the workspace's shape, so neither are these.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr std::size_t kMostFiles = 8;

    RecentFiles(AnimationFiles &files, QObject *parent);

    // The menu, for the window that shows it to own.
    QMenu *menu() const { return m_menu; }

private:
    struct Entry {
        std::string path;
        QString shownName;
    };

    void takeFile();
    void fillMenu();

    AnimationFiles &m_files;
    QPointer<QMenu> m_menu;
    std::vector<Entry> m_entries;
};

} // namespace zelbrook
