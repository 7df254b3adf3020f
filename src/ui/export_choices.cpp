// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_choices.h"

#include "export/gif_encoder.h"
#include "export/sheet_layout.h"
#include "platform/raster_canvas.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

#include <array>

namespace zelbrook {

namespace {

struct FormatRow {
    AnimatedFormat format;
    const char *name;
    const char *extension;
};

constexpr std::array<FormatRow, 7> kFormats{{
    {AnimatedFormat::Gif, QT_TRANSLATE_NOOP("ExportChoices", "GIF"), "gif"},
    {AnimatedFormat::Apng, QT_TRANSLATE_NOOP("ExportChoices", "APNG"), "png"},
    {AnimatedFormat::Webp, QT_TRANSLATE_NOOP("ExportChoices", "WebP"), "webp"},
    {AnimatedFormat::Mp4, QT_TRANSLATE_NOOP("ExportChoices", "MP4 video"), "mp4"},
    {AnimatedFormat::Webm, QT_TRANSLATE_NOOP("ExportChoices", "WebM video"), "webm"},
    {AnimatedFormat::Sheet, QT_TRANSLATE_NOOP("ExportChoices", "Sprite sheet"), "png"},
    {AnimatedFormat::Lottie, QT_TRANSLATE_NOOP("ExportChoices", "Lottie"), "json"},
}};

const FormatRow &rowOf(AnimatedFormat format)
{
    for (const FormatRow &row : kFormats) {
        if (row.format == format)
            return row;
    }
    return kFormats.front();
}

QString translated(const char *text) { return QCoreApplication::translate("ExportChoices", text); }

// The controls of the dialog, each showing a choice.
struct ChoiceBoxes {
    QComboBox *format;
    QSpinBox *fps;
    QComboBox *loop;
    QCheckBox *transparent;
    QCheckBox *trim;
    QSpinBox *zoom;
    QSpinBox *columns;
    QCheckBox *atlas;
    QSpinBox *padding;
    QSpinBox *extrude;

    ExportChoices read(const Playback &animation) const
    {
        ExportChoices choices;
        choices.format = kFormats[static_cast<std::size_t>(format->currentIndex())].format;
        if (fps->value() != animation.fps)
            choices.fps = fps->value();
        if ((loop->currentIndex() == 0) != animation.loop)
            choices.loop = loop->currentIndex() == 0;
        choices.transparent = transparent->isChecked();
        choices.trim = trim->isChecked();
        choices.zoom = zoom->value();
        choices.columns = columns->value();
        choices.atlas = atlas->isChecked();
        choices.padding = padding->value();
        choices.extrude = extrude->value();
        return choices;
    }

    // Only what the format can hold is offered.
    void offerWhatTheFormatTakes(const Playback &animation) const
    {
        const ExportChoices choices = read(animation);
        transparent->setEnabled(choices.takesTransparency());
        trim->setEnabled(choices.takesTransparency());
        columns->setEnabled(choices.isSheet());
        atlas->setEnabled(choices.isSheet());
        padding->setEnabled(choices.isSheet());
        extrude->setEnabled(choices.isSheet());
        fps->setMaximum(choices.format == AnimatedFormat::Gif ? GifEncoder::kMaximumRate : Playback::kFpsRange.maximum);
    }
};

ChoiceBoxes makeBoxes(QDialog &dialog, QFormLayout &form, const ExportChoices &current, const Playback &animation)
{
    ChoiceBoxes boxes{new QComboBox(&dialog), new QSpinBox(&dialog), new QComboBox(&dialog), new QCheckBox(&dialog),
                      new QCheckBox(&dialog), new QSpinBox(&dialog), new QSpinBox(&dialog),  new QCheckBox(&dialog),
                      new QSpinBox(&dialog),  new QSpinBox(&dialog)};
    for (const FormatRow &row : kFormats)
        boxes.format->addItem(translated(row.name));
    boxes.format->setCurrentIndex(static_cast<int>(&rowOf(current.format) - kFormats.data()));
    boxes.fps->setRange(Playback::kFpsRange.minimum, Playback::kFpsRange.maximum);
    boxes.fps->setValue(current.fps.value_or(animation.fps));
    boxes.loop->addItems({QObject::tr("Loop"), QObject::tr("Once")});
    boxes.loop->setCurrentIndex(current.loop.value_or(animation.loop) ? 0 : 1);
    boxes.transparent->setChecked(current.transparent);
    boxes.trim->setChecked(current.trim);
    boxes.zoom->setRange(1, RasterCanvas::kMaximumZoom);
    boxes.zoom->setValue(current.zoom);
    boxes.columns->setRange(0, 10000);
    boxes.columns->setSpecialValueText(QObject::tr("Squarest"));
    boxes.columns->setValue(current.columns);
    boxes.atlas->setChecked(current.atlas);
    boxes.padding->setRange(0, SheetLayout::kMaximumPadding);
    boxes.padding->setValue(current.padding);
    boxes.extrude->setRange(0, SheetLayout::kMaximumExtrude);
    boxes.extrude->setValue(current.extrude);
    form.addRow(QObject::tr("&Format"), boxes.format);
    form.addRow(QObject::tr("Frames per &second"), boxes.fps);
    form.addRow(QObject::tr("&Play"), boxes.loop);
    form.addRow(QObject::tr("&Zoom"), boxes.zoom);
    form.addRow(QObject::tr("&Transparent background"), boxes.transparent);
    form.addRow(QObject::tr("T&rim to the figures"), boxes.trim);
    form.addRow(QObject::tr("Sheet &columns"), boxes.columns);
    form.addRow(QObject::tr("Sheet &atlas (NAME.json)"), boxes.atlas);
    form.addRow(QObject::tr("Sheet pa&dding (pixels)"), boxes.padding);
    form.addRow(QObject::tr("Sheet &edges repeated (pixels)"), boxes.extrude);
    return boxes;
}

} // namespace

Animation ExportChoices::applied(const Animation &animation) const
{
    Playback playback = animation.playback();
    playback.fps = fps.value_or(playback.fps);
    playback.loop = loop.value_or(playback.loop);
    return Animation(playback, animation.cast(), animation.keys());
}

AnimationTarget ExportChoices::target() const
{
    AnimationTarget target;
    target.format = format;
    target.zoom = zoom;
    target.sheetColumns = isSheet() ? columns : 0;
    target.transparent = takesTransparency() && transparent;
    target.trim = takesTransparency() && trim;
    target.atlas = isSheet() && atlas;
    target.sheetPadding = isSheet() ? padding : 0;
    target.sheetExtrude = isSheet() ? extrude : 0;
    return target;
}

bool ExportChoices::takesTransparency() const
{
    return format != AnimatedFormat::Mp4 && format != AnimatedFormat::Webm;
}

QString ExportChoices::filter() const
{
    const FormatRow &row = rowOf(format);
    const QString pattern = QStringLiteral("*.") + QString::fromLatin1(row.extension);
    return translated(row.name) + QStringLiteral(" (") + pattern + QStringLiteral(") | ") + pattern;
}

QString ExportChoices::extension() const { return QString::fromLatin1(rowOf(format).extension); }

std::optional<ExportChoices> ExportChoices::ask(QWidget *parent, const ExportChoices &current,
                                                const Playback &animation)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Export animation"));
    auto *form = new QFormLayout(&dialog);
    const ChoiceBoxes boxes = makeBoxes(dialog, *form, current, animation);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(boxes.format, &QComboBox::currentIndexChanged, &dialog,
                     [&] { boxes.offerWhatTheFormatTakes(animation); });
    boxes.offerWhatTheFormatTakes(animation);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return boxes.read(animation);
}

} // namespace zelbrook
