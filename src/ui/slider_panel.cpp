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

} // namespace

SliderPanel::SliderPanel(PoseDocument &document, const WindowControls &controls, QObject *parent)
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
    const bool readOut = qobject_cast<QLineEdit *>(watched) != nullptr;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        m_document.endGesture();
        break;
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!key->isAutoRepeat())
            m_document.endGesture();
        if (!readOut)
            break;
        const PoseField &field = poseField(static_cast<FieldId>(watched->property("field").toInt()));
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            applyTypedValue(field);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            writeReadOut(field);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

void SliderPanel::applyTypedValue(const PoseField &field)
{
    QLineEdit *box = m_controls.readOut(field.id);
    const Result<std::int16_t> position = typedPosition(field, box->text().toStdString());
    if (position) {
        m_document.endGesture();
        [[maybe_unused]] const bool inRange = m_controls.slider(field.id)->setValue(position.value());
        m_document.endGesture();
    } else {
        QApplication::beep();
    }
    writeReadOut(field);
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
}

void SliderPanel::clearReadOut(const PoseField &field) { m_controls.readOut(field.id)->clear(); }

QString SliderPanel::readOutText(const PoseField &field) const
{
    if (field.readOut == ReadOut::StoredValue)
        return generalNumberText(field.value(m_document.figure()));
    return QString::number(m_controls.slider(field.id)->Value());
}

} // namespace zelbrook
