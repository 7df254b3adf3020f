// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1.h"

#include "accessible_names.h"
#include "action_table.h"
#include "animation_files.h"
#include "canvas_aids.h"
#include "canvas_posing.h"
#include "edit_commands.h"
#include "figure_commands.h"
#include "file_command.h"
#include "key_commands.h"
#include "pin_commands.h"
#include "pose_file_drop.h"
#include "shelf_commands.h"
#include "slider_panel.h"
#include "timeline_cells.h"
#include "timeline_commands.h"
#include "timeline_strip.h"
#include "window_controls.h"
#include "window_title.h"
#include "workspace/window_faces.h"

#include "model/pinned_posing.h"
#include "model/program_info.h"
#include "platform/canvas_widget.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/raster_canvas.h"
#include "platform/slider.h"
#include "platform/system_file.h"
#include "posefile/animation_file.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace zelbrook {

namespace {

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

using Mode = FileCommand::Mode;

} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
    , m_caption(kProgramCaption)
    , m_commonDialog(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(kProgramCaption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(717, 524);
    m_controls = std::make_unique<WindowControls>(this);
    m_sliders = new SliderPanel(m_document, *m_controls, this);
    m_document.addObserver([this](const FigureChange &) { DrawMan(); });
    connect(Picture1(), &CanvasWidget::gotFocus, this, &Form1::Picture1_GotFocus);
    m_posing = new CanvasPosing(m_document, Picture1());
    new PoseFileDrop(this, [this](const QString &path) { openDropped(path); });
    bindCommands();
    applyAccessibleNames(*m_controls);
    Form_Load();
    // The history begins after start-up.
    m_editCommands = new EditCommands(m_document, this, Picture1(),
                                      {[this] { newPose(); }, [this] { copyPoseText(); }, [this] { pastePose(); },
                                       [] { return !Clipboard::text().value_or(QString()).isEmpty(); }});
    m_timeline = new TimelineCommands(m_document, this, Picture1(), m_editCommands->menu(), [this] { DrawMan(); });
    m_editCommands->setSelectedKeys([this]() -> std::optional<KeyRun> {
        return m_timeline->isShown() ? std::optional(m_timeline->strip()->cells()->selection()) : std::nullopt;
    });
    m_keys = new KeyCommands(m_document, m_timeline->strip()->cells(), m_editCommands->menu(),
                             [this](auto t) { showMessage(t); });
    const Figure startFigure{Pose::defaults(Picture1()->canvas().Width()), kDefaultPenWidth};
    m_animationFiles = new AnimationFiles(m_document, *m_timeline, this, m_editCommands->menu(), startFigure,
                                          [this](const QString &t) { showMessage(t); });
    m_timeline->strip()->setFileButtons(m_animationFiles->actions());
    m_figures = new FigureCommands(m_document, *m_timeline, this, Picture1(), m_editCommands->menu(), startFigure);
    m_pins = new PinCommands(m_document, this, m_editCommands->menu(), *m_posing);
    m_aids = new CanvasAids(m_document, *m_timeline, *m_posing, this, [this] { DrawMan(); });
    new WindowTitle(this, m_caption, m_document, *m_timeline, *m_animationFiles);
    m_shelf = new ShelfCommands(m_document, *m_timeline, m_editCommands->menu(),
                                [this](const QString &t) { showMessage(t); });
    m_faces = new WindowFaces(*this);
    m_timeline->setFaceSwitch([this](bool workspace) { m_faces->showWorkspace(workspace); });
    Picture1()->setFocus();
}

// The workspace and the posing go while the document is still there: a drag
// under way ends with them, unfinished, and changes nothing.
Form1::~Form1()
{
    delete std::exchange(m_faces, nullptr);
    delete m_posing;
}

// Each button runs its command, and so does its key: the desktop's usual
// ones for copy, save and open, Ctrl+E to export the picture. In a read-out
// box the copy key copies the box's text instead.
void Form1::bindCommands()
{
    const struct {
        const char *button;
        void (Form1::*command)();
        ActionId id;
    } commands[] = {
        {"Command1", &Form1::Command1_Click, ActionId::CopyPicture},
        {"Command2", &Form1::Command2_Click, ActionId::SavePicture},
        {"Command3", &Form1::Command3_Click, ActionId::SavePose},
        {"Command4", &Form1::Command4_Click, ActionId::OpenPose},
    };
    for (const auto &command : commands) {
        QPushButton *button = m_controls->button(command.button);
        QAction *action = makeAction(command.id, this, this);
        connect(button, &QPushButton::clicked, this, command.command);
        connect(action, &QAction::triggered, this, command.command);
        button->setToolTip(actionKeys(command.id).front().toString(QKeySequence::NativeText));
    }
    connect(makeAction(ActionId::CloseWindow, this, this), &QAction::triggered, this, &QWidget::close);
}

CanvasWidget *Form1::Picture1() const { return m_controls->canvas(); }

Slider *Form1::slider(std::string_view name) const { return findChild<Slider *>(toQString(name)); }

QLineEdit *Form1::display(std::string_view name) const { return findChild<QLineEdit *>(toQString(name)); }

void Form1::DrawMan()
{
    const bool playing = m_timeline && m_timeline->isPlaying();
    const std::vector<SceneFigure> scene = m_timeline ? m_timeline->shownScene() : m_document.scene();
    drawScene(scene, m_timeline ? m_timeline->ghosts() : std::vector<Ghost>(), Picture1()->canvas(), m_caption,
              m_aids ? m_aids->aids() : ScreenAids{});
    describeCanvas(Picture1(), playing && !scene.empty() ? scene.front().figure : m_document.figure());
    Picture1()->update();
    if (m_faces)
        m_faces->pictureChanged();
}

void Form1::drawPicture(Canvas &canvas) const
{
    drawScene(m_timeline->shownScene(), m_timeline->ghosts(), canvas, m_caption,
              m_aids ? m_aids->aids() : ScreenAids{});
}

void Form1::watchStage(QWidget *stage, CanvasPosing &posing)
{
    m_timeline->watchCanvas(stage);
    m_figures->watchCanvas(stage);
    m_aids->watchPosing(posing);
    m_pins->watchPosing(posing);
}

void Form1::Form_Load()
{
    newPose();
    m_document.clearHistory();
}

void Form1::newPose()
{
    const Pose defaults = Pose::defaults(Picture1()->canvas().Width());
    m_document.endGesture();
    m_document.setFigure(Figure{defaults, kDefaultPenWidth}, ChangeKind::Reset);
}

bool Form1::SyncControls() { return m_sliders->syncControls(); }

void Form1::takeLoadedPose(const Pose &pose)
{
    m_document.setFigure(landedFigure(m_document.figure(), pose, Landing::AsFacing), ChangeKind::Load);
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (!m_animationFiles->isBusy() && m_animationFiles->maySetAside()) {
        QWidget::closeEvent(event);
        m_faces->close();
    } else
        event->ignore();
}

void Form1::setMessagePresenter(MessagePresenter presenter) { m_presenter = std::move(presenter); }

void Form1::showMessage(const QString &text)
{
    if (m_presenter)
        m_presenter(text);
    else
        MessageBox::show(this, text);
}

// Both exports switch the canvas's persistent image on and redraw, as the
// window always has; the picture itself comes from the exporter at its
// 493 x 397 pixels, whatever the screen's pixel density.
void Form1::copyPicture()
{
    Picture1()->canvas().setAutoRedraw(true);
    DrawMan();
    const QImage picture = m_exporter.picture(m_document.scene(), m_caption);
    if (const Status copied = Clipboard::setPicture(picture); !copied)
        showMessage(
            tr("Could not copy the picture to the clipboard:\n%1").arg(QString::fromStdString(copied.error().message)));
}

void Form1::savePicture()
{
    static constexpr FileCommand kSaveBitmap{"Bitmap (*.bmp) | *.bmp", "zelbrook.bmp", Mode::Save};
    if (const auto path = kSaveBitmap.ask(m_commonDialog))
        reportSave(*path, SaveBitmap(*path), tr("the picture"));
}

void Form1::savePose()
{
    static constexpr FileCommand kSavePose{"ZBK (*.zbk) | *.zbk", "zelbrook.zbk", Mode::Save};
    if (const auto path = kSavePose.ask(m_commonDialog))
        reportSave(*path, SavePose(*path), tr("the pose"));
}

void Form1::reportSave(const QString &path, const Status &saved, const QString &what)
{
    if (!saved)
        showMessage(tr("Could not save %1 as %2:\n%3").arg(what, path, QString::fromStdString(saved.error().message)));
    else
        showMessage(QStringLiteral("Saved as: ") + path);
}

void Form1::Command4_Click()
{
    static constexpr FileCommand kOpenPose{"zbk (*.zbk) | *.zbk", nullptr, Mode::Open};
    if (const auto path = kOpenPose.ask(m_commonDialog))
        openPose(*path);
}

void Form1::openPose(const QString &path)
{
    m_commonDialog.setFileName(path);
    reportLoad(path, LoadPose(QFile::encodeName(path).toStdString()));
}

void Form1::copyPoseText()
{
    const std::string text = writePoseFile(m_document.pose());
    if (const Status copied = Clipboard::setText(QString::fromStdString(text)); !copied)
        showMessage(
            tr("Could not copy the pose to the clipboard:\n%1").arg(QString::fromStdString(copied.error().message)));
}

void Form1::pastePose()
{
    if (isAnimationText(Clipboard::animationText().value_or(QString()).toStdString()))
        return m_keys->pasteKeys(KeyOrder::AsTheyCame);
    const Result<Loaded> pasted = takePoseText(Clipboard::text().value_or(QString()).toStdString());
    if (!pasted)
        showMessage(tr("Could not paste:\n%1").arg(QString::fromStdString(pasted.error().message)));
    else if (pasted.value() == Loaded::WrongFileType)
        showMessage(tr("Could not paste:\n%1").arg(toQString(kWrongFileType)));
}

void Form1::reportLoad(const QString &source, const Result<Loaded> &loaded)
{
    if (!loaded)
        showMessage(tr("Could not open %1:\n%2").arg(source, QString::fromStdString(loaded.error().message)));
    else if (loaded.value() == Loaded::WrongFileType)
        showMessage(toQString(kWrongFileType));
}

void Form1::openDropped(const QString &path)
{
    const std::string name = QFile::encodeName(path).toStdString();
    AnimationFiles::isAnimationFile(name) ? m_animationFiles->openAnimationFile(name, path) : openPose(path);
}

void Form1::openPoseNamed(const std::string &path)
{
    if (AnimationFiles::isAnimationFile(path))
        return m_animationFiles->openAnimationFile(path, toQString(SystemFile::printableName(path)));
    m_commonDialog.setFileName(QFile::decodeName(QByteArray::fromStdString(path)));
    reportLoad(toQString(SystemFile::printableName(path)), LoadPose(path));
}

// Writes the pose file beside the target and puts it in place only when it
// is complete, so a failed save leaves the old file as it was.
Status Form1::SavePose(const QString &path)
{
    m_fileMagic = kPoseFileTag;
    const std::string text = writePoseFile(m_document.pose());
    return SystemFile::write(QFile::encodeName(path).toStdString(), text);
}

// Reads and checks the whole file before anything changes: a load that fails
// leaves the pose, the sliders, the read-outs and the picture as they were.
// A wrong tag is not a failure: the controls and the picture are refreshed
// from the unchanged pose, and the caller says so.
Result<Form1::Loaded> Form1::LoadPose(const std::string &path)
{
    const Result<std::string> bytes = SystemFile::readPoseBytes(path);
    if (!bytes)
        return bytes.error();
    return takePoseText(bytes.value());
}

Result<Form1::Loaded> Form1::takePoseText(std::string_view text)
{
    if (hasWrongFileType(text)) {
        m_fileMagic = readPoseFileTag(text).value_or(m_fileMagic);
        if (SyncControls())
            DrawMan();
        return Loaded::WrongFileType;
    }
    const Result<Pose> read = readPoseFile(text, m_document.pose());
    if (!read)
        return read.error();
    m_fileMagic = kPoseFileTag;
    m_document.endGesture();
    takeLoadedPose(read.value());
    return Loaded::Pose;
}

Status Form1::SaveBitmap(const QString &path)
{
    Picture1()->canvas().setAutoRedraw(true);
    DrawMan();
    return m_exporter.write(m_document.scene(), m_caption, ExportFormat::Bmp, 1, path);
}

} // namespace zelbrook
