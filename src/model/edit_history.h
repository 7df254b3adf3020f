#pragma once

#include "figure.h"

#include <cstddef>
#include <deque>
#include <optional>

namespace zelbrook {

// The history keeps this many steps; the oldest goes when one more comes.
inline constexpr std::size_t kEditHistoryCapacity = 1000;

// The changes the user made, each as the figure before and after it, for
// undo and redo. Figures are kept whole, so undo puts back exact values,
// unrounded ones loaded from a file included.
//
// A gesture (a thumb drag, a held arrow key, a drag on the canvas) is one
// step: every change recorded under the same gesture key extends the last
// step, as long as nothing else was recorded or undone in between and the
// gesture has not been ended.
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
    void record(const Figure &before, const Figure &after, GestureKey gesture = kNoGesture);
    // The next change starts a new step even under the same gesture key.
    void endGesture();

    bool canUndo() const { return m_done > 0; }
    bool canRedo() const { return m_done < m_steps.size(); }

    // The figure to put back, or empty when there is nothing to undo or redo.
    std::optional<Figure> undo();
    std::optional<Figure> redo();

    std::size_t stepCount() const { return m_steps.size(); }

private:
    struct Step {
        Figure before;
        Figure after;
    };

    std::deque<Step> m_steps;
    // Steps before this index are done; from it on they can be redone.
    std::size_t m_done = 0;
    std::size_t m_capacity;
    // The gesture the last step belongs to while it can still grow.
    GestureKey m_openGesture = kNoGesture;
};

} // namespace zelbrook
