// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/animation_document.h"
#include "model/result.h"
#include "platform/file_dialog_control.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;

namespace zelbrook {

class AnimationFiles;
class Canvas;
class ShelfCommands;
class WindowFaces;
class CanvasPosing;
class CanvasWidget;
class EditCommands;
class FigureCommands;
class KeyCommands;
class PinCommands;
class Slider;
class SliderPanel;
class TimelineCommands;
class CanvasAids;
class WindowControls;

// The editor's one window. It owns the animation document, the canvas, the
// nineteen sliders with their read-out boxes, the buttons, the timeline,
// the figures list and the file dialog control; it wires them to one
// another and to the commands, and it is the one place that decides what
// the user is told.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    using MessagePresenter = std::function<void(const QString &text)>;

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Clears the canvas and draws the scene on show: the current key's
    // figures over its onion-skin ghosts, or the frame being played.
    void DrawMan();
    // The same picture on another canvas: the workspace's stage.
    void drawPicture(Canvas &canvas) const;
    // The workspace's stage, which poses and has a menu of its own: the
    // canvas's keys work there as on Picture1, and a joint grabbed there
    // is the one the motion path follows.
    void watchStage(QWidget *stage, CanvasPosing &posing);

    // The window's handlers and procedures, public so that they can be
    // driven directly.
    void Form_Load();
    // Sets sixteen sliders and their read-out boxes from the pose, in a fixed
    // order. False when a slider cannot hold its position; the steps before
    // it keep their effect and the rest are not taken.
    [[nodiscard]] bool SyncControls();
    void Picture1_GotFocus() { DrawMan(); }
    void Command1_Click() { copyPicture(); }
    void Command2_Click() { savePicture(); }
    void Command3_Click() { savePose(); }
    void Command4_Click();

    void copyPicture();
    void savePicture();
    void savePose();
    // Opens a pose file as the open command does once its dialog is
    // confirmed; a file that cannot be opened is reported, nothing changes.
    void openPose(const QString &path);
    // Brings a pose read from a file into the window as an open does: each
    // slider that has to move rounds its field to its grid.
    void takeLoadedPose(const Pose &pose);
    // The start-up pose, hip, size, rotation and pen for the current figure,
    // as one step.
    void newPose();
    // The pose as the text of its file, on the clipboard and nothing else.
    void copyPoseText();
    // What the clipboard holds, wherever the focus is: keys come in after
    // the current key, a pose file's text into the current figure as an
    // open brings it.
    void pastePose();
    // Opens a file named by the bytes the system holds, which need not be
    // UTF-8 text (a name from the command line): an animation file, told by
    // its text or else its name, as an animation, any other as openPose does.
    void openPoseNamed(const std::string &path);
    // A file dropped on the window: an animation, or else a pose file.
    void openDropped(const QString &path);

    AnimationDocument &document() { return m_document; }
    TimelineCommands &timeline() const { return *m_timeline; }
    AnimationFiles &animationFiles() const { return *m_animationFiles; }
    FigureCommands &figures() const { return *m_figures; }
    ShelfCommands &shelf() const { return *m_shelf; }
    KeyCommands &keys() const { return *m_keys; }
    PinCommands &pins() const { return *m_pins; }
    WindowFaces &faces() const { return *m_faces; }
    const Pose &pose() const { return m_document.pose(); }
    // The tag of the last pose file saved or opened; nothing reads it.
    std::int16_t fileMagic() const { return m_fileMagic; }
    CanvasWidget *Picture1() const;
    FileDialogControl &CommonDialog1() { return m_commonDialog; }
    Slider *slider(std::string_view name) const;
    QLineEdit *display(std::string_view name) const;

    // Replaces the message box, for tests; by default a real one is shown.
    void setMessagePresenter(MessagePresenter presenter);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Loaded { Pose, WrongFileType };
    void bindCommands();
    Status SavePose(const QString &path);
    Result<Loaded> LoadPose(const std::string &path);
    Result<Loaded> takePoseText(std::string_view text);
    void reportLoad(const QString &source, const Result<Loaded> &loaded);
    Status SaveBitmap(const QString &path);
    void reportSave(const QString &path, const Status &saved, const QString &what);
    void showMessage(const QString &text);

    AnimationDocument m_document;
    std::int16_t m_fileMagic = 0;
    std::string m_caption;
    std::unique_ptr<WindowControls> m_controls;
    SliderPanel *m_sliders = nullptr;
    CanvasPosing *m_posing = nullptr;
    EditCommands *m_editCommands = nullptr;
    TimelineCommands *m_timeline = nullptr;
    CanvasAids *m_aids = nullptr;
    AnimationFiles *m_animationFiles = nullptr;
    FigureCommands *m_figures = nullptr;
    ShelfCommands *m_shelf = nullptr;
    KeyCommands *m_keys = nullptr;
    PinCommands *m_pins = nullptr;
    WindowFaces *m_faces = nullptr;
    FileDialogControl m_commonDialog;
    Exporter m_exporter;
    MessagePresenter m_presenter;
};

} // namespace zelbrook
