// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_folders.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace zelbrook {

namespace {

// The folders between the program and the nearest share/zelbrook it may use.
constexpr int kFoldersUp = 3;

QString folderName(ShelfKind kind)
{
    return kind == ShelfKind::Poses ? QStringLiteral("poses") : QStringLiteral("moves");
}

QString extension(ShelfKind kind) { return kind == ShelfKind::Poses ? QStringLiteral(".zbk") : QStringLiteral(".zba"); }

// Characters that no file name on the desktops it runs on may hold, or that
// would hide it or make it a path.
bool needsEscape(char32_t c, bool first)
{
    static const QString kForbidden = QStringLiteral("/\\:*?\"<>|%");
    return c < 0x20 || c == 0x7F || (first && c == U'.') || (c < 0x80 && kForbidden.contains(QChar(c)));
}

} // namespace

QString ShelfFolders::shipped(ShelfKind kind)
{
    QDir dir(QCoreApplication::applicationDirPath());
    for (int up = 0; up <= kFoldersUp; ++up) {
        const QString folder = dir.filePath(QStringLiteral("share/zelbrook/") + folderName(kind));
        if (QFileInfo(folder).isDir())
            return QDir::cleanPath(folder);
        if (!dir.cdUp())
            break;
    }
    return {};
}

QString ShelfFolders::userPoses()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || QDir::isRelativePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data + QStringLiteral("/zelbrook/poses"));
}

std::vector<ShelfFile> ShelfFolders::files(const QString &folder, ShelfKind kind)
{
    std::vector<ShelfFile> found;
    if (folder.isEmpty())
        return found;
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList({QLatin1Char('*') + extension(kind)}, QDir::Files | QDir::Readable);
    for (const QFileInfo &entry : entries)
        found.push_back({nameOf(entry.fileName()), entry.absoluteFilePath()});
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(found.begin(), found.end(),
                     [&](const ShelfFile &a, const ShelfFile &b) { return collator.compare(a.name, b.name) < 0; });
    return found;
}

QString ShelfFolders::fileNameFor(const QString &name, ShelfKind kind)
{
    QString safe;
    const QList<uint> characters = name.toUcs4();
    for (qsizetype i = 0; i < characters.size(); ++i) {
        const char32_t c = characters[i];
        if (!needsEscape(c, i == 0)) {
            safe += QString::fromUcs4(&c, 1);
            continue;
        }
        for (const char byte : QString::fromUcs4(&c, 1).toUtf8())
            safe += QStringLiteral("%%1").arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0')).toUpper();
    }
    return safe.isEmpty() ? safe : safe + extension(kind);
}

QString ShelfFolders::nameOf(const QString &fileName)
{
    const QString base = fileName.left(fileName.lastIndexOf(QLatin1Char('.')));
    return QUrl::fromPercentEncoding(base.toUtf8());
}

} // namespace zelbrook
