#include "accessible_names.h"

#include "control_table.h"
#include "slider_binding.h"

#include "model/pose_control.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cmath>

namespace zelbrook {

namespace {

using D = Described;

// In the window's order, top to bottom, so that the description reads as
// the sliders stand.
constexpr std::array<AccessibleName, 20> kNames{{
    {"Picture1", "Stick figure picture", D::Not},
    {"BodyangleScroll", "Body angle", D::PositionDegrees},
    {"BodyLengthScroll", "Body length", D::Position},
    {"leglength1Scroll", "Legs, thigh length", D::Position},
    {"leglength2Scroll", "Legs, shin length", D::Position},
    {"llegAngle1Scroll", "Left leg, thigh angle", D::PositionDegrees},
    {"llegAngle2Scroll", "Left leg, shin angle", D::PositionDegrees},
    {"rlegAngle1Scroll", "Right leg, thigh angle", D::PositionDegrees},
    {"rlegAngle2Scroll", "Right leg, shin angle", D::PositionDegrees},
    {"armlength1Scroll", "Arms, upper arm length", D::Position},
    {"armlength2Scroll", "Arms, forearm length", D::Position},
    {"larmAngle1Scroll", "Left arm, upper arm angle", D::PositionDegrees},
    {"larmAngle2Scroll", "Left arm, forearm angle", D::PositionDegrees},
    {"rarmAngle1Scroll", "Right arm, upper arm angle", D::PositionDegrees},
    {"rarmAngle2Scroll", "Right arm, forearm angle", D::PositionDegrees},
    {"headradScroll", "Head radius", D::Position},
    {"HeadwidthScroll", "Head width", D::Value},
    {"ResizeScroll", "Resize", D::Value},
    {"RotateScroll", "Rotate", D::ValueDegrees},
    {"LineWidthScroll", "Line width", D::Not},
}};

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A whole number of degrees or units; "nan" rather than a wrong number for a
// value that is not one.
QString whole(double value) { return QString::number(std::round(value), 'g', 15); }

QString describedValue(const AccessibleName &entry, const PoseControl &control, const Pose &pose)
{
    switch (entry.described) {
    case D::Position:
        return whole(control.position(pose));
    case D::PositionDegrees:
        return whole(control.position(pose)) + QStringLiteral(" degrees");
    case D::Value:
        return QString::number(control.value(pose), 'g', 6);
    case D::ValueDegrees:
        return whole(radiansToDegrees(control.value(pose))) + QStringLiteral(" degrees");
    case D::Not:
        break;
    }
    return {};
}

// The canvas is a picture to a screen reader, not an empty pane.
QAccessibleInterface *canvasAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1String("zelbrook::CanvasWidget") || !object || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
}

// Whether assistive technology listens. The platform reports a screen
// reader starting and stopping; until one starts, redraws skip the text.
class ActivationTracker : public QAccessible::ActivationObserver
{
public:
    void accessibilityActiveChanged(bool active) override { m_active = active; }
    bool listening() const { return m_active || QAccessible::isActive(); }

private:
    bool m_active = false;
};

ActivationTracker &activationTracker()
{
    static ActivationTracker tracker;
    static const bool installed = [] {
        QAccessible::installActivationObserver(&tracker);
        QAccessible::installFactory(canvasAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    return tracker;
}

void setName(QWidget *window, std::string_view object, const QString &name)
{
    if (auto *widget = window->findChild<QWidget *>(toQString(object)))
        widget->setAccessibleName(name);
}

} // namespace

std::span<const AccessibleName> accessibleNames() { return kNames; }

QString canvasDescription(const Pose &pose)
{
    QStringList parts;
    for (const AccessibleName &entry : kNames) {
        const SliderBinding *binding = findSliderBinding(entry.object);
        const PoseControl *control = binding ? findPoseControl(binding->field) : nullptr;
        if (control && entry.described != D::Not)
            parts << toQString(entry.name) + QLatin1Char(' ') + describedValue(entry, *control, pose);
    }
    return parts.join(QStringLiteral("; "));
}

void describeCanvas(QWidget *canvas, const Pose &pose)
{
    if (activationTracker().listening())
        canvas->setAccessibleDescription(canvasDescription(pose));
}

void applyAccessibleNames(QWidget *window)
{
    activationTracker();
    for (const AccessibleName &entry : kNames) {
        setName(window, entry.object, toQString(entry.name));
        if (const SliderBinding *binding = findSliderBinding(entry.object))
            setName(window, binding->display, toQString(entry.name) + QStringLiteral(" value"));
    }
    for (const ControlSpec &control : controlTable())
        if (control.kind == ControlKind::Button)
            setName(window, control.name, toQString(control.text));
}

} // namespace zelbrook
