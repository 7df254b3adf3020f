// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_dialog_control.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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
    const std::optional<QString> chosen = m_presenter ? m_presenter(asked) : runQtDialog(asked);
    if (!chosen || chosen->isEmpty())
        return m_cancelError ? DialogResult::Cancelled : DialogResult::Confirmed;
    m_fileName = QDir(asked.startFolder).absoluteFilePath(*chosen);
    return DialogResult::Confirmed;
}

// A FileName with a folder in it starts the dialog in that folder, so that a
// dialog after a confirmed one opens where the user was; a bare name, or one
// whose folder is gone, starts it in InitDir.
FileDialogControl::DialogRequest FileDialogControl::request(DialogRequest::Mode mode) const
{
    DialogRequest asked{mode, qtNameFilter(m_filter), QString(), startFolder()};
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

std::optional<QString> FileDialogControl::runQtDialog(const DialogRequest &request) const
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
    if (!request.offeredName.isEmpty())
        dialog.selectFile(request.offeredName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
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
