// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "model/pose_document.h"
#include "platform/file_dialog_control.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace zelbrook {

class TimelineCommands;

// The animation's files: Save animation, Open animation and Export
// animation, each with its own dialog, so that the pose file commands keep
// theirs as they are. An animation of more than one key that changed since
// it was opened or saved is not set aside (by closing the window, or by
// opening another) before the user has been asked whether to save it.
class AnimationFiles : public QObject
{
    Q_OBJECT

public:
    enum class Answer { Save, Discard, Cancel };
    using Question = std::function<Answer()>;
    using Show = std::function<void(const QString &text)>;

    AnimationFiles(PoseDocument &document, TimelineCommands &timeline, QWidget *window, Show show);

    // Answers the animation's dialogs instead of showing them, for tests.
    void setDialogPresenter(const FileDialogControl::Presenter &presenter);
    // Replaces the Save, Discard, Cancel box, for tests.
    void setQuestion(Question question) { m_question = std::move(question); }

    void saveAnimation();
    void openAnimation();
    void exportAnimation();
    // Opens a file once the unsaved keys, if any, have been dealt with.
    void openAnimationFile(const std::string &path, const QString &shownName);
    // Whether the work may be set aside: nothing unsaved, or the user saved
    // it or chose to discard it.
    bool maySetAside();

    // Whether a file holds an animation: by its text where it can be read,
    // by its name otherwise.
    static bool isAnimationFile(const std::string &path);
    // The animated format a file name asks for, by its extension.
    static std::optional<AnimatedFormat> formatOf(const QString &path);

private:
    bool hasUnsavedKeys() const;
    Status saveAs(const QString &path);
    Status exportTo(const QString &path, AnimatedFormat format);
    Answer ask() const;

    PoseDocument &m_document;
    TimelineCommands &m_timeline;
    QWidget *m_window;
    Show m_show;
    Question m_question;
    FileDialogControl m_dialog;
    FileDialogControl m_exportDialog;
    std::uint64_t m_savedRevision;
};

} // namespace zelbrook
