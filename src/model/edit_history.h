// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document_step.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace zelbrook {

// The history keeps this many steps; the oldest goes when one more comes.
inline constexpr std::size_t kEditHistoryCapacity = 1000;

// The changes the user made, for undo and redo. A step keeps whole figures
// or whole keys, so undo puts back exact values, unrounded ones loaded from
// a file included.
//
// A gesture (a thumb drag, a held arrow key, a drag on the canvas) is one
// step: every change of the same figure of the same key recorded under the
// same gesture key extends the last step, as long as nothing else was recorded or undone
// in between and the gesture has not been ended.
class EditHistory
{
public:
    // A key the caller picks to name a gesture, for example the address of
    // the slider being dragged. kNoGesture makes every change its own step.
    using GestureKey = const void *;
    static constexpr GestureKey kNoGesture = nullptr;

    explicit EditHistory(std::size_t capacity = kEditHistoryCapacity);

    // Records a change. A change that leaves every value as it was adds no
    // step; a gesture that comes back to where it began leaves no step.
    // Recording after an undo drops the steps that could have been redone.
    // A figure's change made on an in-between goes on under its gesture as
    // changes of the key it made.
    void record(const DocumentStep &step, GestureKey gesture = kNoGesture);
    // The next change starts a new step even under the same gesture key.
    void endGesture();
    // The last step, while the gesture can still extend it; else null.
    const DocumentStep *openStep(GestureKey gesture) const;
    // Forgets the last step, which cannot be redone either: its gesture
    // came back to where it began.
    void withdraw();

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

    // The step to take back, or to make again; null when there is none.
    const DocumentStep *undo();
    const DocumentStep *redo();
    // The same steps, left where they are until they have been applied.
    const DocumentStep *stepToUndo() const { return canUndo() ? &m_steps[m_done - 1] : nullptr; }
    const DocumentStep *stepToRedo() const { return canRedo() ? &m_steps[m_done] : nullptr; }

    std::size_t stepCount() const { return m_steps.size(); }

    // The state now is the clean one, as last saved or opened; undo and redo
    // can come back to it. A new history starts clean.
    void markClean();
    bool isClean() const { return m_clean == m_done; }

private:
    bool extendsGesture(const DocumentStep &step, GestureKey gesture) const;

    std::deque<DocumentStep> m_steps;
    // Steps before this index are done; from it on they can be redone.
    std::size_t m_done = 0;
    std::size_t m_capacity;
    // The number of steps done in the clean state; empty once no undo or
    // redo can reach it (its steps were dropped or fell off the front).
    std::optional<std::size_t> m_clean = 0;
    // The gesture the last step belongs to while it can still grow.
    GestureKey m_openGesture = kNoGesture;
};

} // namespace zelbrook
