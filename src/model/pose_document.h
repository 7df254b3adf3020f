#pragma once

#include "edit_history.h"
#include "figure.h"
#include "pose_field.h"

#include <bitset>
#include <cstdint>
#include <functional>
#include <vector>

namespace zelbrook {

using FieldSet = std::bitset<kFieldCount>;

// Why the figure changed. An edit moves what the user moved; a load brings a
// pose file in, which rewrites every synced read-out; a restore puts back an
// earlier figure exactly; a reset is the start-up figure, which leaves the
// read-outs of the fields the control sync does not touch empty.
enum class ChangeKind { Edit, Load, Restore, Reset };

struct FigureChange {
    FieldSet fields;
    ChangeKind kind;
    // Whoever asked for the change, so that it is not told again; may be null.
    const void *source;
};

// The figure being edited, the one way to change it, and the history of its
// changes. Every change tells the observers, once, which fields it touched;
// a change that touches nothing tells no one. Every change but a restore is
// a step of the history, or part of one: changes under the same gesture key
// (the slider being dragged, say) make one step.
class PoseDocument
{
public:
    using Observer = std::function<void(const FigureChange &change)>;
    using GestureKey = EditHistory::GestureKey;

    const Figure &figure() const { return m_figure; }
    const Pose &pose() const { return m_figure.pose; }

    void addObserver(Observer observer);

    // One field, from a position of its slider.
    void setPosition(FieldId field, std::int16_t position, const void *source = nullptr,
                     GestureKey gesture = EditHistory::kNoGesture);
    // A whole figure, or a set of fields at once.
    void setFigure(const Figure &figure, ChangeKind kind, const void *source = nullptr,
                   GestureKey gesture = EditHistory::kNoGesture);

    // Puts back the figure from before the last step, or from after the
    // step last undone; false when there is none.
    bool undo();
    bool redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // The next change starts a step of its own.
    void endGesture() { m_history.endGesture(); }
    // Forgets every step, as at start-up.
    void clearHistory() { m_history = EditHistory(); }

private:
    void tell(const FigureChange &change) const;
    void restore(const std::optional<Figure> &figure);

    Figure m_figure;
    EditHistory m_history;
    std::vector<Observer> m_observers;
};

// The fields in which two figures differ.
FieldSet fieldsThatDiffer(const Figure &before, const Figure &after);

// What bringing a pose file's pose into the sliders makes of the figure:
// every synced field whose slider has to move takes the value of its new
// position, rounded to the slider's grid; a field whose slider stays keeps
// the file's exact value. The hip, the scale and the rotation are the loaded
// pose's (a pose file read over the current pose keeps the current ones);
// the pen stays as it is. The loaded pose must fit every slider.
Figure syncedFigure(const Figure &current, const Pose &loaded);

} // namespace zelbrook
