#include "form1.h"

#include "accessible_names.h"
#include "control_table.h"
#include "slider_binding.h"

#include "model/pose_control.h"
#include "model/program_info.h"
#include "platform/atomic_file.h"
#include "platform/canvas_widget.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/picture_writer.h"
#include "platform/slider.h"
#include "posefile/pose_reader.h"
#include "posefile/pose_writer.h"
#include "render/draw_man.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QUrl>

#include <algorithm>
#include <variant>

namespace zelbrook {

namespace {

// Pose files are a line of numbers; anything longer than this is not one.
constexpr qint64 kLargestPoseFile = 1 << 20;

QRect pixels(const ControlSpec &entry)
{
    return {entry.left / kTwipsPerPixel, entry.top / kTwipsPerPixel, entry.width / kTwipsPerPixel,
            entry.height / kTwipsPerPixel};
}

// A line of one pixel, both of its end points included.
QRect linePixels(const ControlSpec &entry)
{
    const QRect r = pixels(entry);
    return {r.x(), r.y(), r.width() + 1, r.height() + 1};
}

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// DejaVu Sans is wide; at this size every label, button text and read-out a
// slider can produce fits its box.
QFont windowFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    return font;
}

// The read-out boxes are 25 pixels wide; condensed, "-180" fits with room.
QFont readOutFont()
{
    QFont font = windowFont();
    font.setStretch(QFont::Condensed);
    return font;
}

QLineEdit *createReadOut(QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    box->setFont(readOutFont());
    box->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid palette(mid); padding: 0px; }"));
    return box;
}

// None of the buttons is the window's default button.
QPushButton *createButton(const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

QFrame *createLine(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    line->setLineWidth(1);
    return line;
}

// The general number-to-text form: a whole number as its digits, anything
// else in the shortest decimal form of at most 15 significant digits.
QString generalNumberText(double value) { return QString::number(value, 'g', 15); }

using Mode = FileDialogControl::DialogRequest::Mode;

} // namespace

// The settings one file command gives the dialog before showing it.
struct Form1::FileCommand {
    const char *filter;
    const char *fileName; // null: offer whatever the dialog holds
    Mode mode;
};

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
    setFont(windowFont());
    setAcceptDrops(true);
    buildControls();
    bindSliders();
    bindCommands();
    applyAccessibleNames(this);
    Form_Load();
    m_picture->setFocus();
}

Form1::~Form1() = default;

void Form1::buildControls()
{
    for (const ControlSpec &entry : controlTable())
        addControl(entry);

    // Tab order follows the table; labels and lines take no focus.
    QWidget *previous = nullptr;
    for (const ControlSpec &entry : controlTable()) {
        auto *widget = findChild<QWidget *>(toQString(entry.name));
        if (entry.tab < 0 || widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void Form1::addControl(const ControlSpec &entry)
{
    QWidget *widget = createControl(entry);
    widget->setObjectName(toQString(entry.name));
    widget->setGeometry(entry.kind == ControlKind::Line ? linePixels(entry) : pixels(entry));
}

QWidget *Form1::createControl(const ControlSpec &entry)
{
    switch (entry.kind) {
    case ControlKind::Canvas:
        m_picture = new CanvasWidget(this);
        connect(m_picture, &CanvasWidget::gotFocus, this, &Form1::Picture1_GotFocus);
        return m_picture;
    case ControlKind::Slider:
        return createSlider(entry);
    case ControlKind::ReadOut:
        return createReadOut(this);
    case ControlKind::Label:
        return new QLabel(toQString(entry.text), this);
    case ControlKind::Button:
        return createButton(toQString(entry.text), this);
    case ControlKind::Line:
        return createLine(this);
    }
    Q_UNREACHABLE();
}

Slider *Form1::createSlider(const ControlSpec &entry)
{
    const SliderBinding *binding = findSliderBinding(entry.name);
    Q_ASSERT(binding);
    const PoseControl *control = binding->field.empty() ? nullptr : findPoseControl(binding->field);
    const SliderRange range =
        control ? control->range : SliderRange{RasterCanvas::kThinnestPen, RasterCanvas::kThickestPen};
    auto *slider = new Slider(range, binding->start, this);
    slider->setSteps(1, binding->pageStep);
    m_rows.push_back({binding, control, slider, nullptr});
    return slider;
}

// Each button runs its command, and so does its key: the desktop's usual
// ones for copy, save and open, Ctrl+E to export the picture. In a read-out
// box the copy key copies the box's text instead.
void Form1::bindCommands()
{
    const struct {
        const char *button;
        void (Form1::*command)();
        QKeySequence keys;
    } commands[] = {
        {"Command1", &Form1::Command1_Click, QKeySequence(QKeySequence::Copy)},
        {"Command2", &Form1::Command2_Click, QKeySequence(Qt::CTRL | Qt::Key_E)},
        {"Command3", &Form1::Command3_Click, QKeySequence(QKeySequence::Save)},
        {"Command4", &Form1::Command4_Click, QKeySequence(QKeySequence::Open)},
    };
    for (const auto &command : commands) {
        auto *button = findChild<QPushButton *>(QLatin1String(command.button));
        connect(button, &QPushButton::clicked, this, command.command);
        connect(new QShortcut(command.keys, this), &QShortcut::activated, this, command.command);
        button->setToolTip(command.keys.toString(QKeySequence::NativeText));
    }
    for (const QKeySequence::StandardKey closing : {QKeySequence::Close, QKeySequence::Quit})
        connect(new QShortcut(closing, this), &QShortcut::activated, this, &QWidget::close);
}

// Both notifications of a slider run its row: every step of a drag redraws,
// and so does the change that ends it.
void Form1::bindSliders()
{
    for (Row &row : m_rows) {
        row.display = display(row.binding->display);
        Q_ASSERT(row.display);
        const Row *bound = &row;
        connect(row.slider, &Slider::changed, this, [this, bound] { runBinding(*bound); });
        connect(row.slider, &Slider::scrolled, this, [this, bound] { runBinding(*bound); });
    }
}

void Form1::runBinding(const Row &row)
{
    const std::int16_t position = row.slider->Value();
    if (row.control)
        row.control->store(m_pose, position);
    else
        m_picture->canvas().setDrawWidth(position);
    row.display->setText(readOutText(row, row.binding->onMove));
    DrawMan();
}

QString Form1::readOutText(const Row &row, ReadOut kind) const
{
    switch (kind) {
    case ReadOut::Position:
        return QString::number(row.slider->Value());
    case ReadOut::StoredValue:
        return generalNumberText(row.control->value(m_pose));
    case ReadOut::PenWidth:
        return QString::number(m_picture->canvas().DrawWidth());
    }
    return {};
}

const Form1::Row *Form1::rowForField(std::string_view field) const
{
    const auto it = std::ranges::find_if(m_rows, [&](const Row &row) { return row.binding->field == field; });
    return it == m_rows.end() ? nullptr : &*it;
}

Slider *Form1::slider(std::string_view name) const { return findChild<Slider *>(toQString(name)); }

QLineEdit *Form1::display(std::string_view name) const { return findChild<QLineEdit *>(toQString(name)); }

void Form1::DrawMan()
{
    zelbrook::DrawMan(m_pose, m_picture->canvas(), m_caption);
    describeCanvas(m_picture, m_pose);
    m_picture->update();
}

void Form1::Form_Load()
{
    m_pose = Pose::defaults(m_picture->canvas().Width());
    [[maybe_unused]] const bool synced = SyncControls();
    Q_ASSERT(synced); // every default has a place on its slider
}

bool Form1::SyncControls()
{
    for (const PoseControl &control : syncedPoseControls()) {
        const Row *row = rowForField(control.field);
        const auto position = sliderPositionFor(control.position(m_pose), row->slider->range());
        if (!position || !row->slider->setValue(*position))
            return false;
        row->display->setText(readOutText(*row, row->binding->onSync));
    }
    return true;
}

void Form1::Picture1_GotFocus() { DrawMan(); }

void Form1::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowTitleChange)
        m_caption = windowTitle().toStdString();
    QWidget::changeEvent(event);
}

// One file dropped on the window is opened as a pose.
std::optional<QString> Form1::droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    return urls.front().toLocalFile();
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    if (const auto path = droppedFile(event->mimeData())) {
        event->acceptProposedAction();
        openPose(*path);
    }
}

void Form1::setMessagePresenter(MessagePresenter presenter) { m_presenter = std::move(presenter); }

void Form1::showMessage(const QString &text)
{
    if (m_presenter)
        m_presenter(text);
    else
        MessageBox::show(this, text);
}

// The dialog pattern of the three file commands. The control keeps what it
// is not told, so the open dialog offers the last confirmed path.
std::optional<QString> Form1::askForPath(const FileCommand &command)
{
    m_commonDialog.setFilter(QString::fromLatin1(command.filter));
    if (command.fileName)
        m_commonDialog.setFileName(QString::fromLatin1(command.fileName));
    m_commonDialog.setInitDir(FileDialogControl::programFolder());
    m_commonDialog.setCancelError(true);
    const auto result = command.mode == Mode::Save ? m_commonDialog.ShowSave() : m_commonDialog.ShowOpen();
    if (result == FileDialogControl::DialogResult::Cancelled)
        return std::nullopt;
    return m_commonDialog.FileName();
}

void Form1::Command1_Click()
{
    m_picture->canvas().setAutoRedraw(true);
    DrawMan();
    if (const auto error = Clipboard::setPicture(m_picture->canvas().Image()))
        showMessage(tr("Could not copy the picture to the clipboard:\n%1").arg(*error));
}

void Form1::Command2_Click()
{
    static constexpr FileCommand kSaveBitmap{"Bitmap (*.bmp) | *.bmp", "zelbrook.bmp", Mode::Save};
    if (const auto path = askForPath(kSaveBitmap))
        reportSave(*path, SaveBitmap(*path), tr("the picture"));
}

void Form1::Command3_Click()
{
    static constexpr FileCommand kSavePose{"ZBK (*.zbk) | *.zbk", "zelbrook.zbk", Mode::Save};
    if (const auto path = askForPath(kSavePose))
        reportSave(*path, SavePose(*path), tr("the pose"));
}

void Form1::reportSave(const QString &path, const std::optional<QString> &error, const QString &what)
{
    if (error)
        showMessage(tr("Could not save %1 as %2:\n%3").arg(what, path, *error));
    else
        showMessage(QStringLiteral("Saved as: ") + path);
}

void Form1::Command4_Click()
{
    static constexpr FileCommand kOpenPose{"zbk (*.zbk) | *.zbk", nullptr, Mode::Open};
    if (const auto path = askForPath(kOpenPose))
        openPose(*path);
}

void Form1::openPose(const QString &path)
{
    m_commonDialog.setFileName(path);
    if (const auto error = LoadPose(path))
        showMessage(tr("Could not open %1:\n%2").arg(path, *error));
}

// Writes the pose file beside the target and puts it in place only when it
// is complete, so a failed save leaves the old file as it was.
std::optional<QString> Form1::SavePose(const QString &path)
{
    m_fileMagic = kPoseFileTag;
    const std::string text = writePoseFile(m_pose);
    return AtomicFile::write(path, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

// Reads and checks the whole file before anything changes: a load that fails
// leaves the pose, the sliders, the read-outs and the picture as they were.
// A wrong tag is not a failure: it is reported, and the controls and the
// picture are refreshed from the unchanged pose.
std::optional<QString> Form1::LoadPose(const QString &path)
{
    const auto bytes = AtomicFile::read(path, kLargestPoseFile);
    if (const auto *error = std::get_if<QString>(&bytes))
        return *error;
    const QByteArray &data = std::get<QByteArray>(bytes);
    const auto read = readPoseFile(std::string_view(data.constData(), static_cast<std::size_t>(data.size())), m_pose);
    if (const auto *error = std::get_if<PoseFileError>(&read)) {
        if (error->kind != PoseFileError::Kind::WrongFileType)
            return QString::fromStdString(error->message);
        if (error->tag)
            m_fileMagic = *error->tag;
        showMessage(QString::fromStdString(error->message));
    } else {
        m_fileMagic = kPoseFileTag;
        m_pose = std::get<Pose>(read);
    }
    // The reader refuses values that no slider can hold, so only a pose that
    // was already out of reach before a wrong-tag load can stop the sync.
    if (SyncControls())
        DrawMan();
    return std::nullopt;
}

std::optional<QString> Form1::SaveBitmap(const QString &path)
{
    m_picture->canvas().setAutoRedraw(true);
    DrawMan();
    return PictureWriter::save(m_picture->canvas().Image(), path, "bmp");
}

} // namespace zelbrook
