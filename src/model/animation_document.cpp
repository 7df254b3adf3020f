// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_document.h"

#include "pinned_posing.h"

#include <algorithm>
#include <utility>

namespace zelbrook {

void AnimationDocument::addObserver(Observer observer) { m_observers.push_back(std::move(observer)); }

void AnimationDocument::addAnimationObserver(AnimationObserver observer)
{
    m_animationObservers.push_back(std::move(observer));
}

void AnimationDocument::addKeyFigureObserver(KeyFigureObserver observer)
{
    m_keyFigureObservers.push_back(std::move(observer));
}

void AnimationDocument::setPosition(FieldId field, std::int16_t position, const void *source, GestureKey gesture)
{
    Figure changed = figure();
    poseField(field).store(changed, position);
    setFigure(changed, ChangeKind::Edit, source, gesture);
}

void AnimationDocument::setFigure(const Figure &after, ChangeKind kind, const void *source, GestureKey gesture)
{
    (void)editFigure(after, kind, source, gesture);
}

// A restore puts back a key's own figure, never an in-between's. An edit
// keeps the pinned ends at their pins.
Status AnimationDocument::editFigure(const Figure &asked, ChangeKind kind, const void *source, GestureKey gesture)
{
    const Figure after = kind == ChangeKind::Edit ? keptAtPins(figure(), asked) : asked;
    if (m_inBetween && kind != ChangeKind::Restore)
        return editInBetween(after, kind, source, gesture);
    if (withdrawInBetween(after, kind, source, gesture))
        return {};
    const AnimationEdit edit = AnimationEdit::changeFigure(m_animation, m_current, m_currentFigure, after);
    const FigureStep step{m_current, figure(), after, m_currentFigure};
    if (kind == ChangeKind::Restore)
        return apply(edit, {m_current, m_currentFigure}, {kind, source});
    return apply(edit, {m_current, m_currentFigure}, {kind, source, step, gesture});
}

Status AnimationDocument::addKey()
{
    return applyKeyStep(AnimationEdit::insertKey(m_current + 1, m_animation.key(m_current)), m_current + 1);
}

Status AnimationDocument::deleteKey()
{
    const std::size_t after = std::min(m_current, m_animation.keyCount() - 2);
    return applyKeyStep(AnimationEdit::removeKey(m_animation, m_current), after);
}

bool AnimationDocument::canMoveKey(Direction direction) const
{
    return direction == Direction::Earlier ? m_current > 0 : m_current + 1 < m_animation.keyCount();
}

Status AnimationDocument::moveKey(Direction direction)
{
    if (!canMoveKey(direction))
        return Error{direction == Direction::Earlier ? "the first key cannot move earlier"
                                                     : "the last key cannot move later"};
    const std::size_t to = direction == Direction::Earlier ? m_current - 1 : m_current + 1;
    return applyKeyStep(AnimationEdit::moveKey(m_current, to), to);
}

Status AnimationDocument::setKeyTiming(int hold, int tweens, Ease ease)
{
    Key key = m_animation.key(m_current);
    key.hold = hold;
    key.tweens = tweens;
    key.ease = ease;
    return applyKeyStep(AnimationEdit::changeKey(m_animation, m_current, key), m_current);
}

Status AnimationDocument::setPlayback(const Playback &playback)
{
    return applyKeyStep(AnimationEdit::changePlayback(m_animation, playback), m_current);
}

void AnimationDocument::setCurrentKey(std::size_t index)
{
    if (index >= m_animation.keyCount() || (index == m_current && !m_inBetween && m_holdFrame == 0))
        return;
    const Standing was = standing();
    m_current = index;
    m_inBetween.reset();
    m_holdFrame = 0;
    m_currentFigure = figureIn(index, m_currentFigure);
    tellMoved(was, ChangeKind::Restore, nullptr);
}

void AnimationDocument::setCurrentFigure(FigureId id)
{
    const bool shown = m_inBetween ? std::ranges::find(m_shownScene, id, &SceneFigure::id) != m_shownScene.end()
                                   : m_animation.key(m_current).holds(id);
    if (id == m_currentFigure || !shown)
        return;
    const Standing was = standing();
    m_currentFigure = id;
    tellMoved(was, ChangeKind::Restore, nullptr);
}

FigureId AnimationDocument::figureIn(std::size_t key, FigureId wanted) const
{
    const Key &in = m_animation.key(key);
    return in.holds(wanted) ? wanted : in.figures.front().id;
}

void AnimationDocument::replaceAnimation(const Animation &animation)
{
    const Figure before = figure();
    m_animation = animation;
    m_inBetween.reset();
    m_holdFrame = 0;
    m_current = 0;
    m_currentFigure = m_animation.key(0).figures.front().id;
    ++m_revision;
    clearHistory();
    tell({AnimationChange::What::Whole});
    showFigure(before, ChangeKind::Load, nullptr);
}

Status AnimationDocument::applyStep(const KeyStep &step)
{
    endGesture();
    return apply(step.edit, {step.currentAfter, step.figureAfter}, {ChangeKind::Edit, nullptr, step});
}

Status AnimationDocument::applyKeyStep(const AnimationEdit &edit, std::size_t currentAfter)
{
    return applyStep({edit, m_current, currentAfter, m_currentFigure, m_currentFigure});
}

bool AnimationDocument::undo() { return retrace(Retrace::Back); }

bool AnimationDocument::redo() { return retrace(Retrace::Again); }

// Takes a step back or makes it again, with the current key and figure it
// had. The step moves across the history only once it has been applied.
bool AnimationDocument::retrace(Retrace way)
{
    const bool back = way == Retrace::Back;
    const DocumentStep *step = back ? m_history.stepToUndo() : m_history.stepToRedo();
    if (!step)
        return false;
    const Told told{ChangeKind::Restore, nullptr, std::nullopt, EditHistory::kNoGesture, way};
    if (const auto *change = std::get_if<FigureStep>(step)) {
        const Figure &figure = back ? change->before : change->after;
        return apply(AnimationEdit::changeFigure(m_animation, change->key, change->figure, figure),
                     {change->key, change->figure}, told)
            .ok();
    }
    if (const auto *split = std::get_if<InBetweenStep>(step)) {
        retraceInBetween(*split, way, told);
        return true;
    }
    const auto &keys = std::get<KeyStep>(*step);
    const Place place =
        back ? Place{keys.currentBefore, keys.figureBefore} : Place{keys.currentAfter, keys.figureAfter};
    return apply(back ? keys.edit.inverse() : keys.edit, place, told).ok();
}

// The edit changes the animation or nothing. The step is in the history, or
// has moved across it, before anyone is told, so that observers see what can
// be undone; a key step records the figure that is current after it.
Status AnimationDocument::apply(const AnimationEdit &edit, Place current, const Told &told)
{
    const Standing was = standing();
    if (Status applied = edit.applyTo(m_animation); !applied)
        return applied;
    m_current = current.key;
    m_currentFigure = figureIn(current.key, current.figure);
    settlePlayhead(edit);
    if (told.step) {
        DocumentStep step = *told.step;
        if (auto *keys = std::get_if<KeyStep>(&step))
            keys->figureAfter = m_currentFigure;
        m_history.record(step, told.gesture);
    }
    if (told.retraced)
        (void)(*told.retraced == Retrace::Back ? m_history.undo() : m_history.redo());
    if (!edit.changesNothing())
        ++m_revision;
    tellEdit(edit);
    tellMoved(was, told.kind, told.source);
    return {};
}

void AnimationDocument::tellEdit(const AnimationEdit &edit) const
{
    using What = AnimationChange::What;
    using Kind = AnimationEdit::Kind;
    switch (edit.kind()) {
    case AnimationEdit::Kind::ChangeFigure:
        if (!edit.changesNothing())
            tell({What::KeyFigure, edit.index()});
        break;
    case AnimationEdit::Kind::ChangeKey: {
        const Key &before = edit.keyBefore();
        const Key &after = edit.keyAfter();
        if (before.figures != after.figures)
            tell({What::KeyFigure, edit.index()});
        if (before.hold != after.hold || before.tweens != after.tweens || before.ease != after.ease)
            tell({What::KeyTiming, edit.index()});
        break;
    }
    case AnimationEdit::Kind::InsertKey:
        tell({What::KeyInserted, edit.index()});
        break;
    case AnimationEdit::Kind::RemoveKey:
        tell({What::KeyRemoved, edit.index()});
        break;
    case Kind::InsertKeys:
    case Kind::RemoveKeys:
        tell({edit.kind() == Kind::InsertKeys ? What::KeyInserted : What::KeyRemoved, edit.index(), 0, kFirstFigureId,
              edit.keyRun().size()});
        break;
    case Kind::ReverseKeys:
        tell({What::KeysReversed, edit.index(), edit.destination()});
        break;
    case AnimationEdit::Kind::MoveKey:
        tell({What::KeyMoved, edit.index(), edit.destination()});
        break;
    case AnimationEdit::Kind::ChangePlayback:
        tell({What::Playback});
        break;
    case Kind::ChangeFigures:
        for (const FigurePlacement &placement : edit.placements())
            tell({What::KeyFigure, placement.key});
        break;
    case Kind::PlaceFigure:
    case Kind::RemoveFigure:
    case Kind::MoveFigure:
    case Kind::ChangeCastFigure:
        tell({What::Cast, edit.index(), 0, edit.figure()});
        return;
    }
    // A key that goes or comes back takes the figures only it holds along.
    if (!edit.castPlaces().empty())
        tell({What::Cast, edit.index(), 0, edit.castPlaces().front().figure.id});
}

void AnimationDocument::tell(const AnimationChange &change) const
{
    if (change.what == AnimationChange::What::KeyFigure) {
        for (const KeyFigureObserver &observer : m_keyFigureObservers)
            observer(change.key);
        return;
    }
    for (const AnimationObserver &observer : m_animationObservers)
        observer(change);
}

// A load and a reset rewrite the read-outs even where no value changed.
void AnimationDocument::showFigure(const Figure &before, ChangeKind kind, const void *source) const
{
    const FieldSet fields = fieldsThatDiffer(before, figure());
    const bool pinsOrFacing = before.pins != figure().pins || before.facing != figure().facing;
    if (!fields.any() && !pinsOrFacing && kind != ChangeKind::Load && kind != ChangeKind::Reset)
        return;
    const FigureChange change{fields, kind, source, pinsOrFacing};
    for (const Observer &observer : m_observers)
        observer(change);
}

} // namespace zelbrook
