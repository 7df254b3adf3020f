#include "pose_document.h"

#include <cassert>
#include <cmath>
#include <utility>

namespace zelbrook {

namespace {

// Equal when both hold the same number, or both hold no number at all.
bool sameValue(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

} // namespace

void PoseDocument::addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

void PoseDocument::setPosition(FieldId field, std::int16_t position, const void *source, GestureKey gesture)
{
    Figure changed = m_figure;
    poseField(field).store(changed, position);
    setFigure(changed, ChangeKind::Edit, source, gesture);
}

void PoseDocument::setFigure(const Figure &figure, ChangeKind kind, const void *source, GestureKey gesture)
{
    const FieldSet fields = fieldsThatDiffer(m_figure, figure);
    if (kind != ChangeKind::Restore)
        m_history.record(m_figure, figure, gesture);
    m_figure = figure;
    // A load and a reset rewrite the read-outs even where no value changed.
    if (fields.any() || kind == ChangeKind::Load || kind == ChangeKind::Reset)
        tell({fields, kind, source});
}

bool PoseDocument::undo()
{
    const std::optional<Figure> before = m_history.undo();
    restore(before);
    return before.has_value();
}

bool PoseDocument::redo()
{
    const std::optional<Figure> after = m_history.redo();
    restore(after);
    return after.has_value();
}

void PoseDocument::restore(const std::optional<Figure> &figure)
{
    if (figure)
        setFigure(*figure, ChangeKind::Restore);
}

void PoseDocument::tell(const FigureChange &change) const
{
    for (const Observer &observer : m_observers)
        observer(change);
}

FieldSet fieldsThatDiffer(const Figure &before, const Figure &after)
{
    FieldSet fields;
    for (const PoseField &field : poseFields())
        fields[static_cast<std::size_t>(field.id)] = !sameValue(field.value(before), field.value(after));
    return fields;
}

Figure syncedFigure(const Figure &current, const Pose &loaded)
{
    Figure result{loaded, current.penWidth};
    for (const PoseField *field : syncedFields()) {
        const auto position = sliderPositionOf(*field, result);
        assert(position);
        if (position != sliderPositionOf(*field, current))
            field->store(result, *position);
    }
    return result;
}

} // namespace zelbrook
