// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "document_change.h"
#include "edit_history.h"
#include "figure.h"
#include "key_run.h"
#include "pose_field.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zelbrook {

// The animation being edited with its current key and current figure, the
// one way to change them, and the history of the changes. The figure is the
// current figure of the current key: every change of it tells the
// observers, once, which fields it touched; a change that touches nothing
// tells no one. Every change but a restore and a choice of the current key
// or figure is a step of the history, or part of one: changes under the
// same gesture key (the slider being dragged, say) make one step. Undo and
// redo put back the current key and figure of the step as well.
//
// The document shows one frame, the playhead: a frame of the current key's
// hold, or an in-between after it. On an in-between the scene and the
// figure are that frame's, in-betweened, and a change of the figure first
// makes the frame a key of its own, so that no frame moves in time. Choosing
// a key, and every command on keys, puts the playhead on that key's first
// frame.
class AnimationDocument
{
public:
    using Observer = std::function<void(const FigureChange &change)>;
    using AnimationObserver = std::function<void(const AnimationChange &change)>;
    // Told which key's figures changed, and nothing else.
    using KeyFigureObserver = std::function<void(std::size_t key)>;
    using GestureKey = EditHistory::GestureKey;
    enum class Direction { Earlier, Later };

    AnimationDocument() = default;
    // A new document whose history holds steps made elsewhere, so that a
    // test can give it steps that do not fit its animation.
    explicit AnimationDocument(EditHistory history)
        : m_history(std::move(history))
    {}

    const Animation &animation() const { return m_animation; }
    std::size_t currentKey() const { return m_current; }
    FigureId currentFigure() const { return m_currentFigure; }
    // The current figure as the shown frame has it.
    const Figure &figure() const;
    const Pose &pose() const { return figure().pose; }
    // Every figure of the shown frame, in drawing order.
    std::vector<SceneFigure> scene() const;
    std::size_t shownFrame() const;
    // The in-between the playhead stands on, if it does.
    const std::optional<FrameRef> &shownInBetween() const { return m_inBetween; }
    // Grows at every change of the animation, undo and redo included.
    std::uint64_t revision() const { return m_revision; }

    void addObserver(Observer observer);
    // Told every change of the animation but a change of a key's figures,
    // which the figure on show tells its observers and only the views of
    // that key's content need to hear of.
    void addAnimationObserver(AnimationObserver observer);
    void addKeyFigureObserver(KeyFigureObserver observer);

    // One field, from a position of its slider.
    void setPosition(FieldId field, std::int16_t position, const void *source = nullptr,
                     GestureKey gesture = EditHistory::kNoGesture);
    // A whole figure, or a set of fields at once.
    void setFigure(const Figure &figure, ChangeKind kind, const void *source = nullptr,
                   GestureKey gesture = EditHistory::kNoGesture);
    // setFigure, saying why it was refused. On an in-between the frame
    // becomes a key holding the figures it shows, right after the current
    // key, which keeps the in-betweens before the frame; the new key holds
    // one frame, takes the rest of the in-betweens and the current key's
    // ease, and becomes current. That and the change are one step. A
    // refused change changes nothing, and the observers are told to show
    // the figure as it is.
    Status editFigure(const Figure &figure, ChangeKind kind, const void *source = nullptr,
                      GestureKey gesture = EditHistory::kNoGesture);
    // The current figure's ends: each of these is one step, and made on an
    // in-between first makes it a key (see editFigure). An edit of the
    // figure keeps its pinned ends at their pins (see keptAtPins): a slider,
    // a typed value or a drag of the hip or the body moves the rest of the
    // figure around them, and one that moves a pinned limb's own angles
    // unpins it in the same step.
    // Pins the end where it is.
    Status pin(Limb end);
    // Frees the end where it is, or all four.
    Status unpin(Limb end);
    Status unpinAll();
    // Reach: the end goes to `at`, its limb's two angles solved on whole
    // slider steps (see reachedFigure); the changes of one drag are one step
    // under its gesture key.
    Status reachTo(Limb end, Point at, const void *source = nullptr, GestureKey gesture = EditHistory::kNoGesture);
    Facing facing() const { return figure().facing; }
    Status setFacing(Facing facing);
    // Mirror and Swap sides on the current figure in every key of the run
    // that holds it, as one step; the current key stays.
    Status mirrorInKeys(KeyRun run);
    Status swapSidesInKeys(KeyRun run);

    // Whether a change of the figure can be made where the playhead stands.
    Status canEditShownFrame() const;

    // A copy of the current key right after it, which becomes current.
    Status addKey();
    // The keys come in one after another from `index` on, as one step; the
    // last of them becomes current, its figure `figure` where it holds it.
    // Refused whole, changing nothing, when the animation cannot take them.
    Status insertKeys(std::size_t index, const std::vector<Key> &keys, FigureId figure);
    // The current key goes; the one after it, or the new last, is current.
    Status deleteKey();
    // The current key swaps places with its neighbour and stays current.
    Status moveKey(Direction direction);
    bool canDeleteKey() const { return m_animation.keyCount() > 1; }
    bool canMoveKey(Direction direction) const;
    // The current key's hold, in-betweens and ease.
    Status setKeyTiming(int hold, int tweens, Ease ease);
    Status setPlayback(const Playback &playback);
    // Which key is edited; not a step. An index past the last is ignored.
    // When the key lacks the current figure, its back figure is current.
    // The playhead goes to the key's first frame, the current key's too.
    void setCurrentKey(std::size_t index);
    // Which figure of the current key is edited; not a step. A figure the
    // shown frame lacks is ignored.
    void setCurrentFigure(FigureId id);
    // Moves the playhead; not a step. The frame's key becomes current; on an
    // in-between the current figure is one the frame shows where it shows
    // any. A frame past the last is ignored.
    void setShownFrame(std::size_t frame);

    // A new figure, posed as `figure` but with its hip 100 canvas units
    // right of the current figure's, the hip's height the same, in the
    // current key and every key after it, in front of every other figure;
    // it becomes current. Its name is "Figure" and its id, or the next
    // number up that is free; it is black.
    Status addFigure(const Figure &figure);
    // A copy of the current figure, its hip 30 canvas units to the right,
    // with its colour and a name of its own ("Thrower 2"; a copy of a
    // figure named as a new figure is named as one), in the current key and
    // every key after it, in front of every other figure; it becomes
    // current.
    Status duplicateFigure();
    // The current figure leaves the current key and every key after it,
    // and the cast when no earlier key holds it; refused where it is a
    // key's only figure. The back figure of the current key becomes current.
    Status deleteFigure();
    // A figure of the cast comes into the current key, posed as in the
    // nearest earlier key that holds it, else the nearest later one, and
    // becomes current.
    Status bringBackFigure(FigureId id);
    // The current figure moves one place in the drawing order: Earlier
    // sends it backward, Later brings it forward.
    Status moveFigure(Direction direction);
    bool canMoveFigure(Direction direction) const;
    Status setFigureColor(FigureId id, Color color);
    Status renameFigure(FigureId id, const std::string &name);
    // Copies of the keys of `source` come in after the current key, in
    // their order or the opposite one, bringing their figures: each figure
    // of its cast is matched to one of this cast, by id or else by name, and
    // one that finds none joins the cast in front, with its colour and its
    // name (made unique). The last key that came in is current.
    Status pasteKeys(const Animation &source, FigureMatch match, KeyOrder order);
    // The keys of the run go, though never every key; the key after them,
    // or the new last, is current.
    Status cutKeys(KeyRun run);
    // A copy of the run right after it; the copy's last key is current.
    Status duplicateKeys(KeyRun run);
    // The run's keys in the opposite order; the current key stays where it
    // is in the row.
    Status reverseKeys(KeyRun run);

    // A whole new animation, its first key and that key's back figure
    // current, with a fresh history.
    void replaceAnimation(const Animation &animation);

    // Puts back what was there before the last step, or after the step last
    // undone. False when there is none, or when the step does not fit the
    // animation: then the animation, the current key and figure and the
    // history stay as they were, and no one is told.
    bool undo();
    bool redo();
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // The next change starts a step of its own.
    void endGesture() { m_history.endGesture(); }
    // Forgets every step, as at start-up.
    void clearHistory() { m_history = EditHistory(); }
    // The animation as it is now is the one in its file.
    void markClean() { m_history.markClean(); }
    // Whether the animation is as it was when last marked clean, replaced or
    // started, though steps may have been taken and undone since.
    bool isClean() const { return m_history.isClean(); }

private:
    enum class Retrace { Back, Again };
    // How an applied edit is told, and recorded or retraced in the history.
    struct Told {
        ChangeKind kind = ChangeKind::Restore;
        const void *source = nullptr;
        std::optional<DocumentStep> step = std::nullopt;
        GestureKey gesture = EditHistory::kNoGesture;
        std::optional<Retrace> retraced = std::nullopt;
    };
    // The current key and figure after an edit; a figure the key lacks
    // gives way to its back figure.
    struct Place {
        std::size_t key;
        FigureId figure;
    };
    // Where the document stood before a change, for telling what moved.
    struct Standing {
        std::size_t key;
        FigureId figure;
        std::optional<FrameRef> inBetween;
        std::size_t holdFrame;
        Figure shown;
    };
    Status apply(const AnimationEdit &edit, Place current, const Told &told);
    bool retrace(Retrace way);
    Standing standing() const;
    // Stands on the in-between, showing its figures.
    void standOn(const FrameRef &inBetween);
    // After an edit: a change of a key's figure off an in-between, or of
    // the cast's names, colours or drawing order, leaves the playhead where
    // it is; any other puts it on the current key's first frame.
    void settlePlayhead(const AnimationEdit &edit);
    void tellMoved(const Standing &was, ChangeKind kind, const void *source) const;
    Status editInBetween(const Figure &after, ChangeKind kind, const void *source, GestureKey gesture);
    void retraceInBetween(const InBetweenStep &step, Retrace way, const Told &told);
    // Undoes a change made on an in-between, and forgets it, when the
    // gesture that made it comes back to where it began.
    bool withdrawInBetween(const Figure &after, ChangeKind kind, const void *source, GestureKey gesture);
    Status applyStep(const KeyStep &step);
    // A key step that leaves the current figure where it can.
    Status applyKeyStep(const AnimationEdit &edit, std::size_t currentAfter);
    Status addCastFigure(const CastFigure &figure, const Figure &pose);
    Status changeInKeys(KeyRun run, Figure (*change)(const Figure &));
    Status changeCastFigure(FigureId id, const std::function<void(CastFigure &)> &change);
    FigureId figureIn(std::size_t key, FigureId wanted) const;
    void tellEdit(const AnimationEdit &edit) const;
    void tell(const AnimationChange &change) const;
    void showFigure(const Figure &before, ChangeKind kind, const void *source) const;

    Animation m_animation;
    std::size_t m_current = 0;
    FigureId m_currentFigure = kFirstFigureId;
    // The playhead: an in-between after the current key, with the figures
    // it shows, or else the frame of the current key's hold, counted from 0.
    std::optional<FrameRef> m_inBetween;
    std::vector<SceneFigure> m_shownScene;
    std::size_t m_holdFrame = 0;
    std::uint64_t m_revision = 0;
    EditHistory m_history;
    std::vector<Observer> m_observers;
    std::vector<AnimationObserver> m_animationObservers;
    std::vector<KeyFigureObserver> m_keyFigureObservers;
};

} // namespace zelbrook
