// SPDX-License-Identifier: GPL-3.0-or-later
#include "animation_document.h"

#include <algorithm>
#include <cassert>
#include <string>

// The document's playhead, and the changes made where it stands on an
// in-between.

namespace zelbrook {

const Figure &AnimationDocument::figure() const
{
    if (m_inBetween) {
        const auto shown = std::ranges::find(m_shownScene, m_currentFigure, &SceneFigure::id);
        if (shown != m_shownScene.end())
            return shown->figure;
    }
    return m_animation.key(m_current).find(m_currentFigure)->figure;
}

std::vector<SceneFigure> AnimationDocument::scene() const
{
    return m_inBetween ? m_shownScene : m_animation.sceneAt({m_current, 0, 0});
}

std::size_t AnimationDocument::shownFrame() const
{
    return m_inBetween ? m_animation.frameOf(*m_inBetween) : m_animation.firstFrameOf(m_current) + m_holdFrame;
}

void AnimationDocument::setShownFrame(std::size_t frame)
{
    if (frame >= m_animation.frameCount() || frame == shownFrame())
        return;
    const Standing was = standing();
    const FrameRef at = m_animation.frameAt(frame);
    m_current = at.key;
    m_currentFigure = figureIn(at.key, m_currentFigure);
    m_inBetween.reset();
    m_holdFrame = frame - m_animation.firstFrameOf(at.key);
    if (at.step > 0)
        standOn(at);
    tellMoved(was, ChangeKind::Restore, nullptr);
}

// Where the frame shows no figure at all, the current figure stays the
// key's, for the sliders to show.
void AnimationDocument::standOn(const FrameRef &inBetween)
{
    m_inBetween = inBetween;
    m_holdFrame = 0;
    m_shownScene = m_animation.sceneAt(inBetween);
    const bool shown = std::ranges::find(m_shownScene, m_currentFigure, &SceneFigure::id) != m_shownScene.end();
    if (!shown && !m_shownScene.empty())
        m_currentFigure = m_shownScene.front().id;
}

AnimationDocument::Standing AnimationDocument::standing() const
{
    return {m_current, m_currentFigure, m_inBetween, m_holdFrame, figure()};
}

void AnimationDocument::settlePlayhead(const AnimationEdit &edit)
{
    using Kind = AnimationEdit::Kind;
    const bool keepsFrames = edit.kind() == Kind::ChangeCastFigure || edit.kind() == Kind::MoveFigure
                             || (edit.kind() == Kind::ChangeFigure && !m_inBetween);
    if (!keepsFrames) {
        m_inBetween.reset();
        m_holdFrame = 0;
    } else if (m_inBetween) {
        standOn(*m_inBetween);
    }
}

void AnimationDocument::tellMoved(const Standing &was, ChangeKind kind, const void *source) const
{
    using What = AnimationChange::What;
    if (m_current != was.key)
        tell({What::CurrentKey, m_current});
    if (m_inBetween != was.inBetween || m_holdFrame != was.holdFrame)
        tell({What::ShownFrame, m_current});
    if (m_currentFigure != was.figure)
        tell({What::CurrentFigure, m_current, 0, m_currentFigure});
    showFigure(was.shown, kind, source);
}

Status AnimationDocument::canEditShownFrame() const
{
    if (!m_inBetween)
        return {};
    if (m_animation.keyCount() >= Animation::kMaximumKeys)
        return Error{"an animation has at most " + std::to_string(Animation::kMaximumKeys)
                     + " keys, so this in-between cannot become a key"};
    if (m_shownScene.empty())
        return Error{"this in-between shows no figure"};
    return {};
}

Status AnimationDocument::editInBetween(const Figure &after, ChangeKind kind, const void *source, GestureKey gesture)
{
    const FieldSet fields = fieldsThatDiffer(figure(), after);
    if (sameFigure(figure(), after))
        return {};
    if (Status can = canEditShownFrame(); !can) {
        for (const Observer &observer : m_observers)
            observer({fields, ChangeKind::Restore, nullptr});
        return can;
    }
    const FrameRef at = *m_inBetween;
    const Key &split = m_animation.key(at.key);
    std::vector<KeyFigure> shown;
    for (const SceneFigure &figure : m_shownScene)
        shown.push_back({figure.id, figure.figure});
    const InBetweenStep step{at, split, Key(std::move(shown), 1, at.of - at.step, split.ease),
                             FigureStep{at.key + 1, figure(), after, m_currentFigure}};
    retraceInBetween(step, Retrace::Again, {kind, source, step, gesture});
    return {};
}

// Made again, key `at.key` keeps the in-betweens before the frame and the
// new key comes after it with the change; taken back, the new key goes and
// the in-betweens come back.
void AnimationDocument::retraceInBetween(const InBetweenStep &step, Retrace way, const Told &told)
{
    const Standing was = standing();
    const std::size_t made = step.at.key + 1;
    std::vector<AnimationEdit> edits;
    if (way == Retrace::Back) {
        edits = {AnimationEdit::removeKey(m_animation, made),
                 AnimationEdit::changeKey(m_animation, step.at.key, step.split)};
    } else {
        Key shortened = step.split;
        shortened.tweens = step.at.step - 1;
        Key key = step.made;
        key.find(step.change.figure)->figure = step.change.after;
        edits = {AnimationEdit::changeKey(m_animation, step.at.key, shortened), AnimationEdit::insertKey(made, key)};
    }
    for (const AnimationEdit &edit : edits) {
        [[maybe_unused]] const Status applied = edit.applyTo(m_animation);
        assert(applied);
    }
    ++m_revision;
    m_current = way == Retrace::Back ? step.at.key : made;
    m_currentFigure = step.change.figure;
    m_inBetween.reset();
    m_holdFrame = 0;
    if (way == Retrace::Back)
        standOn(step.at);
    if (told.step)
        m_history.record(*told.step, told.gesture);
    if (told.retraced)
        (void)(*told.retraced == Retrace::Back ? m_history.undo() : m_history.redo());
    for (const AnimationEdit &edit : edits)
        tellEdit(edit);
    tellMoved(was, told.kind, told.source);
}

bool AnimationDocument::withdrawInBetween(const Figure &after, ChangeKind kind, const void *source, GestureKey gesture)
{
    const DocumentStep *open = m_history.openStep(gesture);
    const auto *split = open ? std::get_if<InBetweenStep>(open) : nullptr;
    if (!split || split->change.key != m_current || split->change.figure != m_currentFigure
        || !sameFigure(split->change.before, after))
        return false;
    const InBetweenStep step = *split;
    m_history.withdraw();
    retraceInBetween(step, Retrace::Back, {kind, source});
    return true;
}

} // namespace zelbrook
