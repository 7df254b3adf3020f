// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_files.h"

#include "action_table.h"

#include "timeline_commands.h"

#include "platform/message_box.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include <new>

namespace zelbrook {

namespace {

constexpr const char *kAnimationFilter = "Zelbrook animation (*.zba) | *.zba";

QString reasonOf(const Status &status) { return QString::fromStdString(status.error().message); }

std::string bytesOf(const QString &path) { return QFile::encodeName(path).toStdString(); }

} // namespace

AnimationFiles::AnimationFiles(AnimationDocument &document, TimelineCommands &timeline, QWidget *window, QMenu *menu,
                               const Figure &startFigure, Show show)
    : QObject(window)
    , m_document(document)
    , m_timeline(timeline)
    , m_window(window)
    , m_startFigure(startFigure)
    , m_show(std::move(show))
    , m_dialog(window)
    , m_export(new AnimationExportCommand(
          document, timeline, window, m_show,
          [this](FileDialogControl &dialog, const QString &filter, const QString &title, const QString &extension) {
              return ask(dialog, Mode::Save, filter, title, extension);
          }))
{
    const struct {
        ActionId id;
        void (AnimationFiles::*command)();
    } commands[] = {
        {ActionId::NewAnimation, &AnimationFiles::newAnimation},
        {ActionId::OpenAnimation, &AnimationFiles::openAnimation},
        {ActionId::SaveAnimation, &AnimationFiles::saveAnimation},
        {ActionId::SaveAnimationAs, &AnimationFiles::saveAnimationAs},
        {ActionId::ExportAnimation, &AnimationFiles::exportAnimation},
    };
    menu->addSeparator();
    for (const auto &command : commands) {
        QAction *action = makeAction(command.id, window, window);
        connect(action, &QAction::triggered, this, command.command);
        menu->addAction(action);
        m_actions.push_back(action);
    }
    m_dialog.setExtension(FileDialogControl::Extension::FromFilter);
}

void AnimationFiles::setDialogPresenter(const FileDialogControl::Presenter &presenter)
{
    m_dialog.setPresenter(presenter);
    m_export->setDialogPresenter(presenter);
}

// The folder the editor was started from, unless that is the program's own
// folder or inside a build tree, or the user may not write there: then home.
QString AnimationFiles::startFolder()
{
    const QString started = QDir::currentPath();
    bool programs = QFileInfo(started) == QFileInfo(QCoreApplication::applicationDirPath());
    for (QDir folder(started); !programs; folder.cdUp()) {
        programs = folder.exists(QStringLiteral("CMakeCache.txt"));
        if (folder.isRoot())
            break;
    }
    return programs ? QDir::homePath() : FileDialogControl::writableOrHome(started);
}

// An animation dialog starts in the folder of the animation's file, else in
// that of the last one confirmed in this run, offering the animation's name
// with the extension asked for; without either it starts in the folder the
// editor was started from.
std::optional<QString> AnimationFiles::ask(FileDialogControl &dialog, Mode mode, const QString &filter,
                                           const QString &title, const QString &extension)
{
    const QFileInfo file(m_shownName);
    const QString folder = m_shownName.isEmpty() ? m_lastFolder : file.absolutePath();
    const bool offersName = mode == Mode::Save || !m_shownName.isEmpty();
    const QString offered =
        (m_shownName.isEmpty() ? QStringLiteral("zelbrook") : file.completeBaseName()) + QLatin1Char('.') + extension;
    dialog.setFilter(filter);
    dialog.setInitDir(startFolder());
    dialog.setCancelError(true);
    dialog.setTitle(title);
    if (!folder.isEmpty())
        dialog.setFileName(QDir(folder).filePath(offersName ? offered : QString()));
    else if (offersName)
        dialog.setFileName(offered);
    const auto result = mode == Mode::Save ? dialog.ShowSave() : dialog.ShowOpen();
    if (result == FileDialogControl::DialogResult::Cancelled)
        return std::nullopt;
    m_lastFolder = QFileInfo(dialog.FileName()).absolutePath();
    return dialog.FileName();
}

void AnimationFiles::newAnimation()
{
    if (isBusy() || !maySetAside())
        return;
    m_timeline.stop();
    m_document.replaceAnimation(Animation(m_startFigure));
    takeFile({}, {});
}

void AnimationFiles::saveAnimation()
{
    if (isBusy())
        return;
    if (m_path.empty())
        return saveAnimationAs();
    if (const Status saved = saveTo(m_path); !saved)
        m_show(tr("Could not save the animation as %1:\n%2").arg(m_shownName, reasonOf(saved)));
}

void AnimationFiles::saveAnimationAs()
{
    if (isBusy())
        return;
    const auto path =
        ask(m_dialog, Mode::Save, QString::fromLatin1(kAnimationFilter), tr("Save animation"), QStringLiteral("zba"));
    if (!path)
        return;
    const std::string bytes = bytesOf(*path);
    if (const Status saved = saveTo(bytes); !saved)
        return m_show(tr("Could not save the animation as %1:\n%2").arg(*path, reasonOf(saved)));
    takeFile(bytes, *path);
}

// A saved animation says so by the title's mark, which goes; no box needs
// dismissing.
Status AnimationFiles::saveTo(const std::string &path)
{
    Status written;
    try {
        const Result<std::string> text = checkedAnimationFileText(m_document.animation());
        written = text ? SystemFile::write(path, text.value()) : Status(text.error());
    } catch (const std::bad_alloc &) {
        written = Error{"There is not enough memory to save it."};
    }
    if (written) {
        m_document.markClean();
        emit fileChanged();
    }
    return written;
}

void AnimationFiles::takeFile(const std::string &path, const QString &shownName)
{
    m_path = path;
    m_shownName = shownName;
    emit fileChanged();
}

void AnimationFiles::openAnimation()
{
    if (isBusy() || !maySetAside())
        return;
    if (const auto path = ask(m_dialog, Mode::Open, QString::fromLatin1(kAnimationFilter), tr("Open animation"),
                              QStringLiteral("zba")))
        readAnimation(bytesOf(*path), *path);
}

void AnimationFiles::openAnimationFile(const std::string &path, const QString &shownName)
{
    if (!isBusy() && maySetAside())
        readAnimation(path, shownName);
}

// The whole file is read and checked before the animation changes; a file
// that is refused leaves everything as it was.
void AnimationFiles::readAnimation(const std::string &path, const QString &shownName)
{
    m_timeline.stop();
    const Result<Animation> read = readAnimationNamed(path);
    if (!read) {
        m_show(tr("Could not open %1:\n%2").arg(shownName, QString::fromStdString(read.error().message)));
        return;
    }
    m_document.replaceAnimation(read.value());
    takeFile(path, shownName);
    if (read.value().keyCount() > 1)
        m_timeline.setShown(true);
}

Result<Animation> AnimationFiles::readAnimationNamed(const std::string &path) const
{
    try {
        const Result<std::string> text = SystemFile::read(path, kMaximumAnimationFileSize);
        return text ? readAnimationFile(text.value(), m_document.pose()) : text.error();
    } catch (const std::bad_alloc &) {
        return Error{"There is not enough memory to open it."};
    }
}

// A pose file keeps one key of one black figure of the first name; more
// than that lives only in an animation file.
bool AnimationFiles::hasUnsavedWork() const
{
    const Animation &animation = m_document.animation();
    const std::vector<CastFigure> &cast = animation.cast();
    const bool onlyAnAnimationKeeps = animation.keyCount() > 1 || cast.size() > 1 || cast.front() != CastFigure{};
    return !m_document.isClean() && (!m_path.empty() || onlyAnAnimationKeeps);
}

bool AnimationFiles::maySetAside()
{
    if (!hasUnsavedWork())
        return true;
    switch (askToSave()) {
    case Answer::Save:
        saveAnimation();
        return m_document.isClean();
    case Answer::Discard:
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

AnimationFiles::Answer AnimationFiles::askToSave() const
{
    if (m_question)
        return m_question();
    const auto button =
        QMessageBox::question(m_window, MessageBox::title(), tr("The animation has changed. Save it?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return button == QMessageBox::Save      ? Answer::Save
           : button == QMessageBox::Discard ? Answer::Discard
                                            : Answer::Cancel;
}

bool AnimationFiles::isAnimationFile(const std::string &path)
{
    try {
        const Result<std::string> text = SystemFile::read(path, kMaximumAnimationFileSize);
        if (text)
            return isAnimationText(text.value());
    } catch (const std::bad_alloc &) {
        // Told by its name, the open then says there is not enough memory.
    }
    return QFile::decodeName(QByteArray::fromStdString(path)).endsWith(QLatin1String(".zba"), Qt::CaseInsensitive);
}

} // namespace zelbrook
