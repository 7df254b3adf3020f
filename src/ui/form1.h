#pragma once

#include "model/pose.h"
#include "platform/file_dialog_control.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QLineEdit;
class QMimeData;

namespace zelbrook {

class CanvasWidget;
class Slider;
struct ControlSpec;
struct PoseControl;
struct SliderBinding;
enum class ReadOut;

// The editor's one window. It owns the pose, the canvas, the nineteen
// sliders with their read-out boxes, the buttons and the file dialog
// control, and it is the one place that decides what the user is told.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    using MessagePresenter = std::function<void(const QString &text)>;

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // Clears the canvas and draws the whole figure from the pose.
    void DrawMan();

    // The window's procedures, public so that they can be driven directly.
    void Form_Load();
    // Sets sixteen sliders and their read-out boxes from the pose, in a fixed
    // order. A slider that moves runs its binding on the way. False when a
    // slider cannot hold its position; the steps before it keep their effect
    // and the rest are not taken.
    [[nodiscard]] bool SyncControls();
    void Picture1_GotFocus();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();

    // Opens a pose file as the open command does once its dialog is
    // confirmed; a file that cannot be opened is reported, nothing changes.
    void openPose(const QString &path);
    // The same for a name given as the bytes the system holds, which need
    // not be UTF-8 text: a name from the command line.
    void openPoseNamed(const std::string &path);

    Pose &pose() { return m_pose; }
    const Pose &pose() const { return m_pose; }
    std::int16_t fileMagic() const { return m_fileMagic; }
    CanvasWidget *Picture1() const { return m_picture; }
    FileDialogControl &CommonDialog1() { return m_commonDialog; }
    Slider *slider(std::string_view name) const;
    QLineEdit *display(std::string_view name) const;

    // Replaces the message box, for tests; by default a real one is shown.
    void setMessagePresenter(MessagePresenter presenter);

protected:
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // One slider, what it edits and its read-out box.
    struct Row {
        const SliderBinding *binding;
        const PoseControl *control; // null for the pen width
        Slider *slider;
        QLineEdit *display;
    };
    struct FileCommand;

    void buildControls();
    void addControl(const ControlSpec &entry);
    QWidget *createControl(const ControlSpec &entry);
    Slider *createSlider(const ControlSpec &entry);
    static std::optional<QString> droppedFile(const QMimeData *data);
    void bindSliders();
    void bindCommands();
    void runBinding(const Row &row);
    QString readOutText(const Row &row, ReadOut kind) const;
    const Row *rowForField(std::string_view field) const;

    std::optional<QString> askForPath(const FileCommand &command);
    std::optional<QString> SavePose(const QString &path);
    std::optional<QString> LoadPose(const std::string &path);
    std::optional<QString> SaveBitmap(const QString &path);
    void reportSave(const QString &path, const std::optional<QString> &error, const QString &what);
    void showMessage(const QString &text);

    Pose m_pose;
    std::int16_t m_fileMagic = 0;
    std::string m_caption;
    CanvasWidget *m_picture = nullptr;
    std::vector<Row> m_rows;
    FileDialogControl m_commonDialog;
    MessagePresenter m_presenter;
};

} // namespace zelbrook
