// SPDX-License-Identifier: GPL-3.0-or-later
#include "shelf_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

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

// The digits from `at` on, without leading zeros; `at` moves past them.
QStringView digitsAt(const QString &text, qsizetype &at)
{
    while (at + 1 < text.size() && text[at] == QLatin1Char('0') && text[at + 1].isDigit())
        ++at;
    const qsizetype start = at;
    while (at < text.size() && text[at].isDigit())
        ++at;
    return QStringView(text).mid(start, at - start);
}

// A name with each character case-folded, the same length as the name.
QString foldedName(const QString &name)
{
    QString folded(name.size(), Qt::Uninitialized);
    std::transform(name.begin(), name.end(), folded.begin(), [](QChar c) { return c.toCaseFolded(); });
    return folded;
}

// A file and its name folded once, not at every comparison of the sort.
struct SortedFile {
    QString folded;
    ShelfFile file;
};

// Names in the order a reader expects, whatever the locale: letters without
// regard to case, and a run of digits by its number, so "Pose 9" comes
// before "Pose 10".
bool comesBefore(const SortedFile &first, const SortedFile &second)
{
    const QString &a = first.folded;
    const QString &b = second.folded;
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView numberA = digitsAt(a, i);
            const QStringView numberB = digitsAt(b, j);
            if (numberA.size() != numberB.size())
                return numberA.size() < numberB.size();
            if (numberA != numberB)
                return numberA < numberB;
            continue;
        }
        const QChar x = a[i++];
        const QChar y = b[j++];
        if (x != y)
            return x < y;
    }
    return a.size() - i < b.size() - j || (a.size() - i == b.size() - j && first.file.name < second.file.name);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Most file systems say in the listing what an entry is, which spares a
// look at each file; a link or an entry of unknown type is followed.
bool isRegularFile(const dirent &entry, const std::string &path)
{
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return entry.d_type == DT_REG;
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
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
    if (folder.isEmpty())
        return {};
    // Read as bytes: Qt cannot name a file whose name is not UTF-8.
    const std::string base = QFile::encodeName(QFileInfo(folder).absoluteFilePath()).toStdString() + '/';
    DIR *entries = ::opendir(base.c_str());
    if (!entries)
        return {};
    std::vector<SortedFile> sorted;
    const std::string ending = extension(kind).toStdString();
    while (const dirent *entry = ::readdir(entries)) {
        const std::string_view fileName = entry->d_name;
        if (!fileName.ends_with(ending) || fileName.starts_with('.'))
            continue;
        std::string path = base + entry->d_name;
        if (!isRegularFile(*entry, path))
            continue;
        std::string name = nameOf(fileName);
        QString shown = QString::fromStdString(name);
        sorted.push_back(
            {foldedName(shown), {std::move(shown), QFile::decodeName(path.c_str()), std::move(name), std::move(path)}});
    }
    ::closedir(entries);
    std::sort(sorted.begin(), sorted.end(), comesBefore);
    std::vector<ShelfFile> found;
    found.reserve(sorted.size());
    for (SortedFile &file : sorted)
        found.push_back(std::move(file.file));
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

std::string ShelfFolders::nameOf(std::string_view fileName)
{
    const std::string_view base = fileName.substr(0, fileName.rfind('.'));
    std::string name;
    for (std::size_t i = 0; i < base.size(); ++i) {
        const int high = i + 2 < base.size() && base[i] == '%' ? hexDigit(base[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(base[i + 2]) : -1;
        if (low < 0) {
            name += base[i];
            continue;
        }
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return name;
}

} // namespace zelbrook
