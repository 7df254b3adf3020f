// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_export_command.h"
#include "model/animation_document.h"
#include "platform/file_dialog_control.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

class TimelineCommands;

// The animation's files: New, Open, Save, Save as, and Export animation,
// which AnimationExportCommand carries out; each has its own dialog, so
// that the pose file commands keep theirs as they are. Once the animation has a file (opened, dropped or saved), Save
// animation writes to it without asking. Work that differs from its file, or
// changed keys without a file, is not set aside (by closing the window, or
// by opening or starting another animation) before the user has been asked
// whether to save it.
class AnimationFiles : public QObject
{
    Q_OBJECT

public:
    enum class Answer { Save, Discard, Cancel };
    using Question = std::function<Answer()>;
    using Show = std::function<void(const QString &text)>;

    AnimationFiles(AnimationDocument &document, TimelineCommands &timeline, QWidget *window, QMenu *menu,
                   const Figure &startFigure, Show show);

    // Answers the animation's dialogs instead of showing them, for tests.
    void setDialogPresenter(const FileDialogControl::Presenter &presenter);
    // Replaces the Save, Discard, Cancel box, for tests.
    void setQuestion(Question question) { m_question = std::move(question); }
    // Answers the export's choices instead of asking, for tests.
    void setExportChooser(AnimationExportCommand::Chooser chooser) { m_export->setChooser(std::move(chooser)); }

    void newAnimation();
    void saveAnimation();
    void saveAnimationAs();
    void openAnimation();
    void exportAnimation() { m_export->exportAnimation(); }
    // Opens a file once the unsaved work, if any, has been dealt with.
    void openAnimationFile(const std::string &path, const QString &shownName);
    // Whether the work may be set aside: nothing unsaved, or the user saved
    // it or chose to discard it.
    bool maySetAside();
    // Whether an export is running; nothing else starts until it ends.
    bool isBusy() const { return m_export->isRunning(); }

    // The animation's own file as shown to the user; empty when it has none.
    const QString &fileName() const { return m_shownName; }
    // The same file as the system names it.
    const std::string &filePath() const { return m_path; }
    // The commands, in the order of their buttons.
    const std::vector<QAction *> &actions() const { return m_actions; }

    // Whether a file holds an animation: by its text where it can be read,
    // by its name otherwise.
    static bool isAnimationFile(const std::string &path);

signals:
    // The animation's file changed, or was written.
    void fileChanged();

private:
    bool hasUnsavedWork() const;
    void readAnimation(const std::string &path, const QString &shownName);
    Result<Animation> readAnimationNamed(const std::string &path) const;
    Status saveTo(const std::string &path);
    void takeFile(const std::string &path, const QString &shownName);
    using Mode = FileDialogControl::DialogRequest::Mode;
    std::optional<QString> ask(FileDialogControl &dialog, Mode mode, const QString &filter, const QString &title,
                               const QString &extension);
    // Where the dialogs of an animation without a file start.
    static QString startFolder();
    Answer askToSave() const;

    AnimationDocument &m_document;
    TimelineCommands &m_timeline;
    QWidget *m_window;
    Figure m_startFigure;
    Show m_show;
    Question m_question;
    FileDialogControl m_dialog;
    AnimationExportCommand *m_export;
    std::vector<QAction *> m_actions;
    // The animation's file as the system names it, and as it is shown.
    std::string m_path;
    QString m_shownName;
    // The folder of the last animation dialog confirmed in this run.
    QString m_lastFolder;
};

} // namespace zelbrook
