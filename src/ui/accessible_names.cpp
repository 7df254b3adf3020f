// SPDX-License-Identifier: GPL-3.0-or-later
#include "accessible_names.h"

#include "control_table.h"
#include "window_controls.h"

#include "platform/canvas_widget.h"
#include "platform/slider.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include <array>
#include <cmath>

namespace zelbrook {

namespace {

using D = Described;

// In the window's order, top to bottom, so that the description reads as
// the sliders stand.
using F = FieldId;

constexpr std::string_view kCanvasName = "Stick figure picture";

// In the window's order, top to bottom, so that the description reads as
// the sliders stand.
constexpr std::array<AccessibleName, 19> kNames{{
    {F::BodyAngle, "Body angle", D::PositionDegrees},
    {F::BodyLength, "Body length", D::Position},
    {F::LegLength1, "Legs, thigh length", D::Position},
    {F::LegLength2, "Legs, shin length", D::Position},
    {F::LLegAngle1, "Left leg, thigh angle", D::PositionDegrees},
    {F::LLegAngle2, "Left leg, shin angle", D::PositionDegrees},
    {F::RLegAngle1, "Right leg, thigh angle", D::PositionDegrees},
    {F::RLegAngle2, "Right leg, shin angle", D::PositionDegrees},
    {F::ArmLength1, "Arms, upper arm length", D::Position},
    {F::ArmLength2, "Arms, forearm length", D::Position},
    {F::LArmAngle1, "Left arm, upper arm angle", D::PositionDegrees},
    {F::LArmAngle2, "Left arm, forearm angle", D::PositionDegrees},
    {F::RArmAngle1, "Right arm, upper arm angle", D::PositionDegrees},
    {F::RArmAngle2, "Right arm, forearm angle", D::PositionDegrees},
    {F::HeadRadius, "Head radius", D::Position},
    {F::HeadWidth, "Head width", D::Value},
    {F::Scale, "Resize", D::Value},
    {F::Rotation, "Rotate", D::ValueDegrees},
    {F::PenWidth, "Line width", D::Not},
}};

QString toQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// A whole number of degrees or units; "nan" rather than a wrong number for a
// value that is not one.
QString whole(double value) { return QString::number(std::round(value), 'g', 15); }

QString describedValue(const AccessibleName &entry, const Figure &figure)
{
    const PoseField &field = poseField(entry.field);
    switch (entry.described) {
    case D::Position:
        return whole(field.position(figure));
    case D::PositionDegrees:
        return whole(field.position(figure)) + QStringLiteral(" degrees");
    case D::Value:
        return QString::number(field.value(figure), 'g', 6);
    case D::ValueDegrees:
        return whole(radiansToDegrees(field.value(figure))) + QStringLiteral(" degrees");
    case D::Not:
        break;
    }
    return {};
}

// The canvas and the stage are pictures to a screen reader, not empty panes.
QAccessibleInterface *canvasAccessible(const QString &className, QObject *object)
{
    const bool picture =
        className == QLatin1String("zelbrook::CanvasWidget") || className == QLatin1String("zelbrook::Stage");
    if (!picture || !object || !object->isWidgetType())
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

} // namespace

std::span<const AccessibleName> accessibleNames() { return kNames; }

QString canvasDescription(const Figure &figure)
{
    QStringList parts;
    for (const AccessibleName &entry : kNames) {
        if (entry.described != D::Not)
            parts << toQString(entry.name) + QLatin1Char(' ') + describedValue(entry, figure);
    }
    return parts.join(QStringLiteral("; "));
}

void describeCanvas(QWidget *canvas, const Figure &figure)
{
    if (activationTracker().listening())
        canvas->setAccessibleDescription(canvasDescription(figure));
}

void presentAsPicture(QWidget *picture)
{
    activationTracker();
    picture->setAccessibleName(toQString(kCanvasName));
}

void applyAccessibleNames(const WindowControls &controls)
{
    if (controls.canvas())
        presentAsPicture(controls.canvas());
    for (const AccessibleName &entry : kNames) {
        controls.slider(entry.field)->setAccessibleName(toQString(entry.name));
        controls.readOut(entry.field)->setAccessibleName(toQString(entry.name) + QStringLiteral(" value"));
    }
    for (const ControlRow &row : controlTable()) {
        if (QPushButton *button = row.kind == ControlKind::Button ? controls.button(row.name) : nullptr)
            button->setAccessibleName(toQString(row.text));
    }
}

} // namespace zelbrook
