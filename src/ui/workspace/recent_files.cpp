// SPDX-License-Identifier: GPL-3.0-or-later
#include "recent_files.h"

#include "ui/animation_files.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <algorithm>

namespace zelbrook {

RecentFiles::RecentFiles(AnimationFiles &files, QObject *parent)
    : QObject(parent)
    , m_files(files)
    , m_menu(new QMenu(tr("Open &Recent")))
{
    m_menu->setObjectName(QStringLiteral("openRecent"));
    connect(&m_files, &AnimationFiles::fileChanged, this, &RecentFiles::takeFile);
    takeFile();
}

// The file just opened or saved goes first, once.
void RecentFiles::takeFile()
{
    const std::string &path = m_files.filePath();
    if (path.empty() || !m_menu)
        return;
    std::erase_if(m_entries, [&path](const Entry &entry) { return entry.path == path; });
    m_entries.insert(m_entries.begin(), {path, m_files.fileName()});
    if (m_entries.size() > kMostFiles)
        m_entries.pop_back();
    fillMenu();
}

// Each entry is numbered, so that its digit chooses it, and shows the
// file's name, its whole path as the tip.
void RecentFiles::fillMenu()
{
    m_menu->clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        const Entry &entry = m_entries[i];
        const QString path = QFile::decodeName(QByteArray::fromStdString(entry.path));
        QAction *open = m_menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        open->setToolTip(path);
        connect(open, &QAction::triggered, this,
                [this, entry] { m_files.openAnimationFile(entry.path, entry.shownName); });
    }
    m_menu->setEnabled(!m_entries.empty());
}

} // namespace zelbrook
