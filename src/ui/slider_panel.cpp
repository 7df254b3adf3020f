// SPDX-License-Identifier: GPL-3.0-or-later
#include "slider_panel.h"

#include "window_controls.h"

#include "model/typed_value.h"
#include "platform/slider.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace zelbrook {

namespace {

// The general number-to-text form: a whole number as its digits, anything
// else in the shortest decimal form of at most 15 significant digits.
QString generalNumberText(double value) { return QString::number(value, 'g', 15); }

const PoseField &fieldOf(const QLineEdit &box)
{
    return poseField(static_cast<FieldId>(box.property("field").toInt()));
}

// Focus that goes to a popup, such as the box's own menu, or to another
// window comes back to the box with its text; only focus that moves on
// within the window leaves it.
bool leavesTheBox(Qt::FocusReason reason)
{
    return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

} // namespace

SliderPanel::SliderPanel(AnimationDocument &document, const WindowControls &controls, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_controls(controls)
{
    for (const PoseField &field : poseFields()) {
        if (field.hasSlider()) {
            bindSlider(field);
            bindReadOut(field);
        }
    }
    m_document.addObserver([this](const FigureChange &change) { follow(change); });
}

// Both notifications of a slider store its position: every step of a drag
// redraws, and so does the change that ends it.
void SliderPanel::bindSlider(const PoseField &field)
{
    Slider *slider = m_controls.slider(field.id);
    const auto moved = [this, &field, slider] {
        if (m_following)
            return;
        m_document.setPosition(field.id, slider->Value(), slider, slider);
    };
    connect(slider, &Slider::changed, this, moved);
    connect(slider, &Slider::scrolled, this, moved);
    slider->installEventFilter(this);
}

void SliderPanel::bindReadOut(const PoseField &field)
{
    QLineEdit *box = m_controls.readOut(field.id);
    box->setProperty("field", static_cast<int>(field.id));
    box->installEventFilter(this);
}

// Changes under a slider's own gesture key make one step until a press of
// the mouse or a fresh (not repeated) key press begins another.
bool SliderPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        m_document.endGesture();
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            m_document.endGesture();
        return box && readOutKey(*box, key->key());
    }
    case QEvent::FocusOut:
        if (box && leavesTheBox(static_cast<QFocusEvent *>(event)->reason()))
            applyTypedValue(fieldOf(*box));
        break;
    default:
        break;
    }
    return false;
}

bool SliderPanel::readOutKey(QLineEdit &box, int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        applyTypedValue(fieldOf(box));
        return true;
    }
    if (key == Qt::Key_Escape) {
        restoreReadOut(fieldOf(box));
        return true;
    }
    return false;
}

// A box whose text the user did not change is left as it is, so that
// tabbing through the boxes, or Enter in one, never rounds a value that came
// from a file. Text that no position of the slider can show is refused with
// a beep.
void SliderPanel::applyTypedValue(const PoseField &field)
{
    QLineEdit *box = m_controls.readOut(field.id);
    if (!box->isModified())
        return;
    const Result<std::int16_t> position = typedPosition(field, box->text().toStdString());
    if (position) {
        m_document.endGesture();
        m_document.setPosition(field.id, position.value(), box);
        m_document.endGesture();
    } else {
        QApplication::beep();
    }
    restoreReadOut(field);
}

// The synced fields follow in the order of the control sync, which stops at
// a slider that cannot hold its field; the others follow on their own.
void SliderPanel::follow(const FigureChange &change)
{
    const bool wholeSync = change.kind == ChangeKind::Load || change.kind == ChangeKind::Reset;
    const auto touched = [&change](const PoseField &field) {
        return change.fields[static_cast<std::size_t>(field.id)];
    };
    for (const PoseField *field : syncedFields()) {
        if ((wholeSync || touched(*field)) && !showField(*field, change.source))
            break;
    }
    for (const PoseField &field : poseFields()) {
        if (!field.hasSlider() || field.syncStep > 0)
            continue;
        if (touched(field))
            showField(field, change.source);
        // The start-up figure leaves these read-outs empty until their
        // sliders move.
        if (change.kind == ChangeKind::Reset)
            clearReadOut(field);
    }
}

bool SliderPanel::syncControls()
{
    for (const PoseField *field : syncedFields()) {
        if (!showField(*field, nullptr))
            return false;
    }
    return true;
}

bool SliderPanel::showField(const PoseField &field, const void *source)
{
    Slider *slider = m_controls.slider(field.id);
    if (slider != source) {
        const auto position = sliderPositionOf(field, m_document.figure());
        m_following = true;
        const bool moved = position && slider->setValue(*position);
        m_following = false;
        if (!moved)
            return false;
    }
    writeReadOut(field);
    return true;
}

// Text that is already there is not written again; a box that holds
// anything else, what the user typed included, is overwritten.
void SliderPanel::writeReadOut(const PoseField &field)
{
    QLineEdit *box = m_controls.readOut(field.id);
    const QString text = readOutText(field);
    if (box->text() != text)
        box->setText(text);
    m_blank[static_cast<std::size_t>(field.id)] = false;
}

void SliderPanel::clearReadOut(const PoseField &field)
{
    m_controls.readOut(field.id)->setText(QString());
    m_blank[static_cast<std::size_t>(field.id)] = true;
}

void SliderPanel::restoreReadOut(const PoseField &field)
{
    if (m_blank[static_cast<std::size_t>(field.id)])
        clearReadOut(field);
    else
        writeReadOut(field);
    m_controls.readOut(field.id)->setModified(false);
}

QString SliderPanel::readOutText(const PoseField &field) const
{
    if (field.readOut == ReadOut::StoredValue)
        return generalNumberText(field.value(m_document.figure()));
    return QString::number(m_controls.slider(field.id)->Value());
}

} // namespace zelbrook
