// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_document.h"

#include <algorithm>
#include <cassert>

namespace zelbrook {

namespace {

std::size_t keyCountAfter(const Animation &animation, const AnimationEdit &edit)
{
    const std::size_t count = animation.keyCount();
    if (edit.kind() == AnimationEdit::Kind::InsertKey)
        return count + 1;
    return edit.kind() == AnimationEdit::Kind::RemoveKey ? count - 1 : count;
}

} // namespace

Status PoseDocument::insertKeys(std::size_t index, const std::vector<Key> &keys, FigureId figure)
{
    if (keys.empty())
        return Error{"there are no keys to insert"};
    if (index > m_animation.keyCount())
        return Error{"there is no place for keys after key " + std::to_string(m_animation.keyCount())};
    std::vector<AnimationEdit> edits;
    for (std::size_t i = 0; i < keys.size(); ++i)
        edits.push_back(AnimationEdit::insertKey(index + i, keys[i]));
    // Every edit is tried on a copy first, so that a refusal changes nothing.
    Animation trial = m_animation;
    for (const AnimationEdit &edit : edits) {
        if (Status applied = edit.applyTo(trial); !applied)
            return applied;
    }
    const std::size_t last = index + keys.size() - 1;
    const FigureId after = trial.key(last).holds(figure) ? figure : trial.key(last).figures.front().id;
    endGesture();
    m_history.record(KeyRunStep{edits, m_current, last, m_currentFigure, after});
    retraceRun(KeyRunStep{edits, m_current, last, m_currentFigure, after}, Retrace::Again);
    return {};
}

// Each edit leaves the current key at the step's end where that key is
// already there, else at the last key, so that every place told is one the
// animation has.
void PoseDocument::retraceRun(const KeyRunStep &run, Retrace way)
{
    const bool back = way == Retrace::Back;
    const Place end = back ? Place{run.currentBefore, run.figureBefore} : Place{run.currentAfter, run.figureAfter};
    for (std::size_t i = 0; i < run.edits.size(); ++i) {
        const AnimationEdit edit = back ? run.edits[run.edits.size() - 1 - i].inverse() : run.edits[i];
        const std::size_t count = keyCountAfter(m_animation, edit);
        const Place place{std::min(end.key, count - 1), end.figure};
        [[maybe_unused]] const Status applied = apply(edit, place, {});
        assert(applied);
    }
}

} // namespace zelbrook
