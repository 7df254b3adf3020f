// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation.h"
#include "cast.h"
#include "result.h"

#include <cstddef>
#include <vector>

namespace zelbrook {

// A figure as it comes into a key, or leaves it.
struct FigurePlacement {
    std::size_t key;
    Figure figure;

    friend bool operator==(const FigurePlacement &, const FigurePlacement &) = default;
};

// A figure of the cast with its place in the drawing order, as it joins the
// cast or leaves it.
struct CastPlace {
    std::size_t place;
    CastFigure figure;

    friend bool operator==(const CastPlace &, const CastPlace &) = default;
};

// One change to an animation, holding what it changes and no more, so that
// a history of edits costs little however many keys the animation has.
// Each edit knows its inverse: undoing is applying the inverse.
class AnimationEdit
{
public:
    enum class Kind {
        ChangeKey,
        InsertKey,
        RemoveKey,
        MoveKey,
        ChangePlayback,
        ChangeFigure,
        PlaceFigure,
        RemoveFigure,
        MoveFigure,
        ChangeCastFigure,
        InsertKeys,
        RemoveKeys,
        ReverseKeys,
        ChangeFigures,
    };

    // The key at `index` becomes `after`: its figures, hold, tweens or ease.
    static AnimationEdit changeKey(const Animation &animation, std::size_t index, const Key &after);
    // `key` comes in at `index`, and the keys from there on move up one.
    static AnimationEdit insertKey(std::size_t index, const Key &key);
    // The key goes, and with it every figure of the cast no other key holds.
    static AnimationEdit removeKey(const Animation &animation, std::size_t index);
    // The key at `from` goes to `to`, the keys between closing up.
    static AnimationEdit moveKey(std::size_t from, std::size_t to);
    static AnimationEdit changePlayback(const Animation &animation, const Playback &after);

    // The figure `id` of key `index` becomes `after`.
    static AnimationEdit changeFigure(const Animation &animation, std::size_t index, FigureId id, const Figure &after);
    // The figure `id` of each key named, in ascending order, becomes the
    // figure given with it.
    static AnimationEdit changeFigures(const Animation &animation, FigureId id, std::vector<FigurePlacement> after);
    // A figure new to the animation joins the cast at `place` in the drawing
    // order and comes into the keys named, in ascending order.
    static AnimationEdit addFigure(const CastPlace &figure, std::vector<FigurePlacement> placements);
    // A figure of the cast comes into the keys named, in ascending order.
    static AnimationEdit placeFigure(FigureId id, std::vector<FigurePlacement> placements);
    // The figure leaves key `from` and every later key that holds it, and
    // the cast when no earlier key holds it either.
    static AnimationEdit removeFigure(const Animation &animation, FigureId id, std::size_t from);
    // The figure at `from` in the drawing order goes to `to`.
    static AnimationEdit moveFigure(std::size_t from, std::size_t to);
    // The cast figure of the same id becomes `after`: its name or colour.
    static AnimationEdit changeCastFigure(const Animation &animation, const CastFigure &after);

    // The keys come in at `index`, the keys from there on moving up, and
    // the figures of `joining` join the cast with them.
    static AnimationEdit insertKeys(std::size_t index, std::vector<Key> keys, std::vector<CastPlace> joining);
    // `count` keys from `index` on go, and with them every figure of the
    // cast no other key holds.
    static AnimationEdit removeKeys(const Animation &animation, std::size_t index, std::size_t count);
    // The keys from `first` to `last` take each other's places in the
    // opposite order, each with its hold, in-betweens and ease.
    static AnimationEdit reverseKeys(std::size_t first, std::size_t last);

    Kind kind() const { return m_kind; }
    // The key the edit acts on; for a move, where the key was; for a move
    // in the drawing order, where the figure was; for a figure that comes
    // or goes, the first key concerned.
    std::size_t index() const { return m_index; }
    // Where a moved key or figure goes.
    std::size_t destination() const { return m_destination; }
    // The key before and after a change; the key inserted or removed.
    const Key &keyBefore() const { return m_keyBefore; }
    const Key &keyAfter() const { return m_keyAfter; }
    const Playback &playbackBefore() const { return m_playbackBefore; }
    const Playback &playbackAfter() const { return m_playbackAfter; }
    // The figure a figure edit concerns.
    FigureId figure() const { return m_figure; }
    // The figures that join the cast or leave it with a key or a figure.
    const std::vector<CastPlace> &castPlaces() const { return m_castPlaces; }
    // The keys a run comes in with or goes with.
    const std::vector<Key> &keyRun() const { return m_keys; }
    // The keys and figures that a change of a figure in several keys makes.
    const std::vector<FigurePlacement> &placements() const { return m_placements; }

    // Whether applying it would leave the animation as it is.
    bool changesNothing() const;
    AnimationEdit inverse() const;

    // Changes the animation. An edit that names no key or figure of it,
    // removes its last key or a key's last figure, or would break any rule
    // of Animation::check() is refused and changes nothing; the message
    // says why, with keys counted from 1.
    Status applyTo(Animation &animation) const;

private:
    explicit AnimationEdit(Kind kind, std::size_t index = 0)
        : m_kind(kind)
        , m_index(index)
    {}
    static AnimationEdit move(Kind kind, std::size_t from, std::size_t to);
    Status checkIndexes(const Animation &animation) const;
    Status checkFigureIndexes(const Animation &animation) const;
    enum class CastWay { Join, Leave };
    Status checkCastPlaces(const Animation &animation, CastWay way) const;
    Status checkPlacements(const Animation &animation, CastWay way) const;
    void perform(Animation &animation) const;
    void performOnFigures(Animation &animation) const;
    Status checkKeyRun(const Animation &animation) const;
    void performOnKeyRun(Animation &animation) const;
    void joinCast(Animation &animation) const;
    void leaveCast(Animation &animation) const;

    Kind m_kind;
    std::size_t m_index;
    std::size_t m_destination = 0;
    Key m_keyBefore;
    Key m_keyAfter;
    Playback m_playbackBefore;
    Playback m_playbackAfter;
    FigureId m_figure = kFirstFigureId;
    Figure m_figureBefore;
    Figure m_figureAfter;
    CastFigure m_castBefore;
    CastFigure m_castAfter;
    // The cast figures that join the cast or leave it, in drawing order.
    std::vector<CastPlace> m_castPlaces;
    std::vector<FigurePlacement> m_placements;
    std::vector<FigurePlacement> m_placementsBefore;
    std::vector<Key> m_keys;
};

} // namespace zelbrook
