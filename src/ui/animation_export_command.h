// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export_choices.h"
#include "model/animation_document.h"
#include "platform/file_dialog_control.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace zelbrook {

class ExportProgress;
class TimelineCommands;

// Export animation: the export's choices (format, frames, size, sheet),
// then the file's name, then the export itself on a thread of its own with
// its progress. The choices are remembered for the next export in the run.
class AnimationExportCommand : public QObject
{
    Q_OBJECT

public:
    using Show = std::function<void(const QString &text)>;
    // Asks for a name to save under in the dialog, as the animation's other
    // dialogs do: its filter, its title and the extension offered.
    using AskName = std::function<std::optional<QString>(FileDialogControl &dialog, const QString &filter,
                                                         const QString &title, const QString &extension)>;
    using Chooser = std::function<std::optional<ExportChoices>(const ExportChoices &current)>;

    AnimationExportCommand(const AnimationDocument &document, TimelineCommands &timeline, QWidget *window, Show show,
                           AskName askName);

    // Answers the file dialog instead of showing it, for tests.
    void setDialogPresenter(const FileDialogControl::Presenter &presenter) { m_dialog.setPresenter(presenter); }
    // Answers the choices instead of asking, for tests.
    void setChooser(Chooser chooser) { m_choose = std::move(chooser); }
    const ExportChoices &choices() const { return m_choices; }

    void exportAnimation();
    // Whether an export is running; nothing else starts until it ends.
    bool isRunning() const;

    // The animated format a file name asks for, by its extension.
    static std::optional<AnimatedFormat> formatOf(const QString &path);

private:
    const AnimationDocument &m_document;
    TimelineCommands &m_timeline;
    QWidget *m_window;
    Show m_show;
    AskName m_askName;
    FileDialogControl m_dialog;
    ExportProgress *m_progress;
    ExportChoices m_choices;
    Chooser m_choose;
};

} // namespace zelbrook
