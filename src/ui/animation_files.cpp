// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_files.h"

#include "file_command.h"
#include "timeline_commands.h"

#include "export/animation_exporter.h"
#include "model/program_info.h"
#include "platform/output_stream.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"

#include <QEventLoop>
#include <QFile>
#include <QKeySequence>
#include <QMessageBox>
#include <QProgressDialog>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <thread>

namespace zelbrook {

namespace {

using Mode = FileCommand::Mode;

QString reasonOf(const Status &status) { return QString::fromStdString(status.error().message); }

std::string bytesOf(const QString &path) { return QFile::encodeName(path).toStdString(); }

bool isVideo(AnimatedFormat format) { return format == AnimatedFormat::Mp4 || format == AnimatedFormat::Webm; }

// Runs on a thread of its own with an exporter of its own. A stop asked for
// leaves nothing behind: the output is not committed, and a video's
// half-written file is removed by its encoder.
Status writeExport(const Animation &animation, const std::string &path, AnimatedFormat format,
                   std::atomic<std::size_t> &done, const std::atomic<bool> &stop)
{
    AnimationExporter exporter;
    const auto frameDone = [&](std::size_t frames) {
        done = frames;
        return !stop;
    };
    if (isVideo(format))
        return exporter.write(animation, kProgramCaption, format, 1, {{}, path}, frameDone);
    Result<OutputStream> stream = OutputStream::open(path);
    if (!stream)
        return stream.error();
    const ByteSink sink = [&stream](std::string_view bytes) { return stream.value().write(bytes); };
    if (Status written = exporter.write(animation, kProgramCaption, format, 1, {sink, path}, frameDone); !written)
        return written;
    return stream.value().commit();
}

} // namespace

AnimationFiles::AnimationFiles(PoseDocument &document, TimelineCommands &timeline, QWidget *window, Show show)
    : QObject(window)
    , m_document(document)
    , m_timeline(timeline)
    , m_window(window)
    , m_show(std::move(show))
    , m_dialog(window)
    , m_exportDialog(window)
    , m_savedRevision(document.revision())
{
    const struct {
        QKeySequence keys;
        void (AnimationFiles::*command)();
    } commands[] = {
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &AnimationFiles::saveAnimation},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), &AnimationFiles::openAnimation},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &AnimationFiles::exportAnimation},
    };
    for (const auto &command : commands)
        connect(new QShortcut(command.keys, window), &QShortcut::activated, this, command.command);
}

void AnimationFiles::setDialogPresenter(const FileDialogControl::Presenter &presenter)
{
    m_dialog.setPresenter(presenter);
    m_exportDialog.setPresenter(presenter);
}

void AnimationFiles::saveAnimation()
{
    static constexpr FileCommand kSave{"Zelbrook animation (*.zba) | *.zba", "zelbrook.zba", Mode::Save};
    const auto path = kSave.ask(m_dialog);
    if (!path)
        return;
    if (const Status saved = saveAs(*path); !saved)
        m_show(tr("Could not save the animation as %1:\n%2").arg(*path, reasonOf(saved)));
    else
        m_show(QStringLiteral("Saved as: ") + *path);
}

Status AnimationFiles::saveAs(const QString &path)
{
    Status written = SystemFile::write(bytesOf(path), writeAnimationFile(m_document.animation()));
    if (written)
        m_savedRevision = m_document.revision();
    return written;
}

void AnimationFiles::openAnimation()
{
    static constexpr FileCommand kOpen{"Zelbrook animation (*.zba) | *.zba", nullptr, Mode::Open};
    if (!maySetAside())
        return;
    if (const auto path = kOpen.ask(m_dialog))
        openAnimationFile(bytesOf(*path), *path);
}

// The whole file is read and checked before the animation changes; a file
// that is refused leaves everything as it was.
void AnimationFiles::openAnimationFile(const std::string &path, const QString &shownName)
{
    if (!maySetAside())
        return;
    m_timeline.stop();
    const Result<std::string> text = SystemFile::read(path, kMaximumAnimationFileSize);
    const Result<Animation> read = text ? readAnimationFile(text.value(), m_document.pose()) : text.error();
    if (!read) {
        m_show(tr("Could not open %1:\n%2").arg(shownName, QString::fromStdString(read.error().message)));
        return;
    }
    m_dialog.setFileName(shownName);
    m_document.replaceAnimation(read.value());
    m_savedRevision = m_document.revision();
    if (read.value().keyCount() > 1)
        m_timeline.setShown(true);
}

bool AnimationFiles::hasUnsavedKeys() const
{
    return m_document.animation().keyCount() > 1 && m_document.revision() != m_savedRevision;
}

bool AnimationFiles::maySetAside()
{
    if (!hasUnsavedKeys())
        return true;
    switch (ask()) {
    case Answer::Save:
        saveAnimation();
        return !hasUnsavedKeys();
    case Answer::Discard:
        m_savedRevision = m_document.revision();
        return true;
    case Answer::Cancel:
        break;
    }
    return false;
}

AnimationFiles::Answer AnimationFiles::ask() const
{
    if (m_question)
        return m_question();
    const auto button =
        QMessageBox::question(m_window, m_window->windowTitle(), tr("The animation has changed. Save it?"),
                              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    return button == QMessageBox::Save      ? Answer::Save
           : button == QMessageBox::Discard ? Answer::Discard
                                            : Answer::Cancel;
}

void AnimationFiles::exportAnimation()
{
    static constexpr FileCommand kExport{"GIF (*.gif) | *.gif | APNG (*.png) | *.png | WebP (*.webp) | *.webp | "
                                         "MP4 video (*.mp4) | *.mp4 | WebM video (*.webm) | *.webm",
                                         "zelbrook.gif", Mode::Save};
    m_timeline.stop();
    const auto path = kExport.ask(m_exportDialog);
    if (!path)
        return;
    const std::optional<AnimatedFormat> format = formatOf(*path);
    Status exported = format
                          ? exportTo(*path, *format)
                          : Status(Error{tr("Its name must end in .gif, .png, .webp, .mp4 or .webm.").toStdString()});
    if (exported) {
        m_show(QStringLiteral("Saved as: ") + *path);
        return;
    }
    QString reason = reasonOf(exported);
    if (format && isVideo(*format) && exported.error().message.starts_with("The program "))
        reason += tr("\nGIF, APNG and WebP need no other program.");
    m_show(tr("Could not export the animation as %1:\n%2").arg(*path, reason));
}

// The export runs off the window's thread; the window stays responsive and
// its progress box can stop the export.
Status AnimationFiles::exportTo(const QString &path, AnimatedFormat format)
{
    const Animation animation = m_document.animation();
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    Status result;
    QProgressDialog progress(tr("Exporting the animation..."), tr("Cancel"), 0,
                             static_cast<int>(animation.frameCount()), m_window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    std::thread worker([&] {
        result = writeExport(animation, bytesOf(path), format, done, stop);
        finished = true;
    });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        progress.setValue(static_cast<int>(done));
        stop = stop || progress.wasCanceled();
        if (finished)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    worker.join();
    return result;
}

std::optional<AnimatedFormat> AnimationFiles::formatOf(const QString &path)
{
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    const struct {
        const char *suffix;
        AnimatedFormat format;
    } known[] = {{"gif", AnimatedFormat::Gif},   {"png", AnimatedFormat::Apng}, {"apng", AnimatedFormat::Apng},
                 {"webp", AnimatedFormat::Webp}, {"mp4", AnimatedFormat::Mp4},  {"webm", AnimatedFormat::Webm}};
    for (const auto &entry : known) {
        if (path.contains(QLatin1Char('.')) && suffix == QLatin1String(entry.suffix))
            return entry.format;
    }
    return std::nullopt;
}

bool AnimationFiles::isAnimationFile(const std::string &path)
{
    const Result<std::string> text = SystemFile::read(path, kMaximumAnimationFileSize);
    if (text)
        return isAnimationText(text.value());
    return QFile::decodeName(QByteArray::fromStdString(path)).endsWith(QLatin1String(".zba"), Qt::CaseInsensitive);
}

} // namespace zelbrook
