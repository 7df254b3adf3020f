// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_export_command.h"

#include "export_progress.h"
#include "timeline_commands.h"

#include "export/animation_target.h"

#include <QFile>

namespace zelbrook {

namespace {

constexpr const char *kExportFilter = "GIF (*.gif) | *.gif | APNG (*.png) | *.png | WebP (*.webp) | *.webp | "
                                      "MP4 video (*.mp4) | *.mp4 | WebM video (*.webm) | *.webm | "
                                      "Lottie (*.json) | *.json";

} // namespace

AnimationExportCommand::AnimationExportCommand(const AnimationDocument &document, TimelineCommands &timeline,
                                               QWidget *window, Show show, AskName askName)
    : QObject(window)
    , m_document(document)
    , m_timeline(timeline)
    , m_window(window)
    , m_show(std::move(show))
    , m_askName(std::move(askName))
    , m_dialog(window)
    , m_progress(new ExportProgress(window))
{
    m_dialog.setExtension(FileDialogControl::Extension::FromFilter);
}

bool AnimationExportCommand::isRunning() const { return m_progress->isRunning(); }

// The choices first, then the name: a name typed without an extension takes
// that of the type chosen in the file dialog, which offers the chosen
// format first; a sprite sheet is the PNG a chosen sheet asks for.
void AnimationExportCommand::exportAnimation()
{
    if (isRunning())
        return;
    m_timeline.stop();
    const Animation &shown = m_document.animation();
    const std::optional<ExportChoices> chosen =
        m_choose ? m_choose(m_choices) : ExportChoices::ask(m_window, m_choices, shown.playback());
    if (!chosen)
        return;
    m_choices = *chosen;
    const QString filter = chosen->filter() + QStringLiteral(" | ") + QString::fromLatin1(kExportFilter);
    const auto path = m_askName(m_dialog, filter, tr("Export animation"), chosen->extension());
    if (!path)
        return;
    ExportChoices choices = *chosen;
    const std::optional<AnimatedFormat> named = formatOf(*path);
    if (!named)
        return m_show(tr("Could not export the animation as %1:\n%2")
                          .arg(*path, tr("Its name must end in .gif, .png, .webp, .mp4, .webm or .json.")));
    if (!(choices.isSheet() && *named == AnimatedFormat::Apng))
        choices.format = *named;
    const Animation animation = choices.applied(shown);
    const std::string target = QFile::encodeName(*path).toStdString();
    const ExportProgress::Outcome exported =
        m_progress->run(animation.frameCount(), [&](const AnimationExporter::FrameDone &frameDone) {
            return choices.target().write(animation, target, frameDone);
        });
    if (exported.cancelled)
        return;
    if (exported.status)
        return m_show(QStringLiteral("Saved as: ") + *path);
    m_show(tr("Could not export the animation as %1:\n%2")
               .arg(*path, QString::fromStdString(exported.status.error().message)));
}

std::optional<AnimatedFormat> AnimationExportCommand::formatOf(const QString &path)
{
    const QString suffix = path.section(QLatin1Char('.'), -1).toLower();
    const struct {
        const char *suffix;
        AnimatedFormat format;
    } known[] = {{"gif", AnimatedFormat::Gif},    {"png", AnimatedFormat::Apng}, {"apng", AnimatedFormat::Apng},
                 {"webp", AnimatedFormat::Webp},  {"mp4", AnimatedFormat::Mp4},  {"webm", AnimatedFormat::Webm},
                 {"json", AnimatedFormat::Lottie}};
    for (const auto &entry : known) {
        if (path.contains(QLatin1Char('.')) && suffix == QLatin1String(entry.suffix))
            return entry.format;
    }
    return std::nullopt;
}

} // namespace zelbrook
