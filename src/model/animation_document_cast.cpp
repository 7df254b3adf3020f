// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_document.h"

// The document's commands on the cast.

namespace zelbrook {

namespace {

// Hip x runs from 0 to 500 across the canvas; a hip pushed past the right
// edge comes back in from the left.
float hipMovedRight(float hipX, float distance)
{
    const float moved = hipX + distance;
    return moved > 500.0f ? moved - 500.0f : moved;
}

} // namespace

Status AnimationDocument::addFigure(const Figure &figure)
{
    Figure placed = figure;
    placed.pose.hipX = hipMovedRight(this->figure().pose.hipX, 100.0f);
    placed.pose.hipY = this->figure().pose.hipY;
    const FigureId id = m_animation.nextFigureId();
    return addCastFigure({id, newFigureName(id, m_animation.cast()), kBlack}, placed);
}

Status AnimationDocument::duplicateFigure()
{
    Figure copy = figure();
    copy.pose.hipX = hipMovedRight(copy.pose.hipX, 30.0f);
    const CastFigure &original = *m_animation.castFigure(m_currentFigure);
    const FigureId id = m_animation.nextFigureId();
    // A figure that still bears the name it was given is copied as a new
    // figure is named, so that "Figure 1" gives "Figure 2", not "Figure 1 2".
    const std::string name = original.name == defaultFigureName(original.id)
                                 ? newFigureName(id, m_animation.cast())
                                 : copyFigureName(original.name, m_animation.cast());
    return addCastFigure({id, name, original.color}, copy);
}

Status AnimationDocument::addCastFigure(const CastFigure &figure, const Figure &pose)
{
    if (figure.id > kLastFigureId)
        return Error{"every figure id has been given"};
    std::vector<FigurePlacement> placements;
    for (std::size_t key = m_current; key < m_animation.keyCount(); ++key)
        placements.push_back({key, pose});
    const AnimationEdit edit = AnimationEdit::addFigure({m_animation.cast().size(), figure}, std::move(placements));
    return applyStep({edit, m_current, m_current, m_currentFigure, figure.id});
}

Status AnimationDocument::deleteFigure()
{
    return applyKeyStep(AnimationEdit::removeFigure(m_animation, m_currentFigure, m_current), m_current);
}

Status AnimationDocument::bringBackFigure(FigureId id)
{
    const Figure *pose = nullptr;
    for (std::size_t key = m_current; key-- > 0 && !pose;) {
        if (const KeyFigure *held = m_animation.key(key).find(id))
            pose = &held->figure;
    }
    for (std::size_t key = m_current; key < m_animation.keyCount() && !pose; ++key) {
        if (const KeyFigure *held = m_animation.key(key).find(id))
            pose = &held->figure;
    }
    if (!pose)
        return Error{"there is no figure " + std::to_string(id)};
    const AnimationEdit edit = AnimationEdit::placeFigure(id, {{m_current, *pose}});
    return applyStep({edit, m_current, m_current, m_currentFigure, id});
}

bool AnimationDocument::canMoveFigure(Direction direction) const
{
    const std::size_t place = *m_animation.drawingPlace(m_currentFigure);
    return direction == Direction::Earlier ? place > 0 : place + 1 < m_animation.cast().size();
}

Status AnimationDocument::moveFigure(Direction direction)
{
    if (!canMoveFigure(direction))
        return Error{direction == Direction::Earlier ? "the figure is at the back already"
                                                     : "the figure is in front already"};
    const std::size_t place = *m_animation.drawingPlace(m_currentFigure);
    const std::size_t to = direction == Direction::Earlier ? place - 1 : place + 1;
    return applyKeyStep(AnimationEdit::moveFigure(place, to), m_current);
}

Status AnimationDocument::setFigureColor(FigureId id, Color color)
{
    return changeCastFigure(id, [color](CastFigure &figure) { figure.color = color; });
}

Status AnimationDocument::renameFigure(FigureId id, const std::string &name)
{
    return changeCastFigure(id, [&name](CastFigure &figure) { figure.name = name; });
}

Status AnimationDocument::changeCastFigure(FigureId id, const std::function<void(CastFigure &)> &change)
{
    const CastFigure *figure = m_animation.castFigure(id);
    if (!figure)
        return Error{"there is no figure " + std::to_string(id)};
    CastFigure after = *figure;
    change(after);
    return applyKeyStep(AnimationEdit::changeCastFigure(m_animation, after), m_current);
}

} // namespace zelbrook
