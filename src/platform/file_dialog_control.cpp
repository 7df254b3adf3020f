// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog_control.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>

namespace zelbrook {

namespace {

QStringList patternList(const QString &pattern)
{
    QStringList patterns;
    for (const QString &one : pattern.split(u';')) {
        if (!one.trimmed().isEmpty())
            patterns << one.trimmed();
    }
    return patterns;
}

// One description and pattern as Qt writes them: "ZBK (*.zbk)". Descriptions
// that already end with their patterns in brackets are kept as they are.
QString namedFilter(const QString &description, const QString &pattern)
{
    const QString patterns = patternList(pattern).join(u' ');
    if (patterns.isEmpty())
        return {};
    if (description.isEmpty())
        return patterns;
    const QString bracketed = u'(' + patterns + u')';
    if (description.endsWith(bracketed))
        return description;
    return description + u' ' + bracketed;
}

bool isFolder(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

// The extension of a Qt name filter's first pattern: "gif" for "GIF (*.gif)".
QString filterExtension(const QString &nameFilter)
{
    static const QRegularExpression pattern(QStringLiteral(R"(\*\.([^\s;)*?]+))"));
    return pattern.match(nameFilter).captured(1);
}

// The filter that holds the offered name's extension is chosen first, and a
// name typed without an extension takes the chosen filter's, so that the
// dialog itself asks before replacing the file that will be written.
void followFilterExtension(QFileDialog &dialog, const QString &offeredName)
{
    const QString suffix = QFileInfo(offeredName).suffix();
    for (const QString &filter : dialog.nameFilters()) {
        if (!suffix.isEmpty() && filterExtension(filter).compare(suffix, Qt::CaseInsensitive) == 0) {
            dialog.selectNameFilter(filter);
            break;
        }
    }
    dialog.setDefaultSuffix(filterExtension(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString &filter) { dialog.setDefaultSuffix(filterExtension(filter)); });
}

// Qt's file dialog keeps its history, last folder and view in the user's
// settings. The program keeps nothing between runs, so they go to a private
// folder that lasts as long as the run, or nowhere when none can be made.
void keepDialogSettingsPrivate()
{
    static QTemporaryDir folder;
    static const bool placed = [] {
        const QString path = folder.isValid() ? folder.path() : QStringLiteral("/dev/null/settings");
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
        return true;
    }();
    Q_UNUSED(placed);
}

} // namespace

FileDialogControl::FileDialogControl(QWidget *parent)
    : m_parent(parent)
{}

FileDialogControl::DialogResult FileDialogControl::ShowSave() { return show(DialogRequest::Mode::Save); }

FileDialogControl::DialogResult FileDialogControl::ShowOpen() { return show(DialogRequest::Mode::Open); }

FileDialogControl::DialogResult FileDialogControl::show(DialogRequest::Mode mode)
{
    const DialogRequest asked = request(mode);
    const std::optional<DialogAnswer> chosen = m_presenter ? m_presenter(asked) : runQtDialog(asked);
    if (!chosen || chosen->path.isEmpty())
        return m_cancelError ? DialogResult::Cancelled : DialogResult::Confirmed;
    m_fileName = QDir(asked.startFolder).absoluteFilePath(chosen->path);
    if (m_extension == Extension::FromFilter && mode == DialogRequest::Mode::Save) {
        const QString filter =
            chosen->nameFilter.isEmpty() ? asked.nameFilter.section(QStringLiteral(";;"), 0, 0) : chosen->nameFilter;
        m_fileName = withFilterExtension(m_fileName, filter);
    }
    return DialogResult::Confirmed;
}

// A FileName with a folder in it starts the dialog in that folder, so that a
// dialog after a confirmed one opens where the user was; a bare name, or one
// whose folder is gone, starts it in InitDir.
FileDialogControl::DialogRequest FileDialogControl::request(DialogRequest::Mode mode) const
{
    DialogRequest asked{mode, qtNameFilter(m_filter), QString(), startFolder(), m_title};
    if (m_fileName.isEmpty())
        return asked;
    const QFileInfo offered(QDir(asked.startFolder), m_fileName);
    asked.offeredName = offered.fileName();
    if (isFolder(offered.absolutePath()))
        asked.startFolder = offered.absolutePath();
    return asked;
}

QString FileDialogControl::startFolder() const
{
    return isFolder(m_initDir) ? QFileInfo(m_initDir).absoluteFilePath() : programFolder();
}

std::optional<FileDialogControl::DialogAnswer> FileDialogControl::runQtDialog(const DialogRequest &request) const
{
    keepDialogSettingsPrivate();
    const bool save = request.mode == DialogRequest::Mode::Save;
    QFileDialog dialog(m_parent.data());
    // A desktop's own dialog would keep settings of its own where this
    // program cannot move them.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.nameFilter.isEmpty())
        dialog.setNameFilter(request.nameFilter);
    dialog.setDirectory(request.startFolder);
    if (!request.title.isEmpty())
        dialog.setWindowTitle(request.title);
    if (m_extension == Extension::FromFilter)
        followFilterExtension(dialog, request.offeredName);
    if (!request.offeredName.isEmpty())
        dialog.selectFile(request.offeredName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return DialogAnswer{dialog.selectedFiles().constFirst(), dialog.selectedNameFilter()};
}

QString FileDialogControl::withFilterExtension(const QString &path, const QString &nameFilter)
{
    const QString extension = filterExtension(nameFilter);
    if (extension.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + extension;
}

QString FileDialogControl::qtNameFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString named = namedFilter(parts[i].trimmed(), parts[i + 1]);
        if (!named.isEmpty())
            filters << named;
    }
    return filters.join(QStringLiteral(";;"));
}

QString FileDialogControl::programFolder() { return writableOrHome(QCoreApplication::applicationDirPath()); }

bool FileDialogControl::userMayWrite(const QString &folder) { return QFileInfo(folder).isWritable(); }

QString FileDialogControl::writableOrHome(const QString &folder, WriteCheck mayWrite)
{
    if (isFolder(folder) && mayWrite(folder))
        return QFileInfo(folder).absoluteFilePath();
    return QDir::homePath();
}

} // namespace zelbrook
