// SPDX-License-Identifier: GPL-3.0-or-later
#include "move_placement.h"

#include "pose_mirror.h"

#include <cassert>
#include <cmath>
#include <optional>
#include <string>

namespace zelbrook {

namespace {

const Figure &moveFigure(const Key &key, FigureId id)
{
    const KeyFigure *found = key.find(id);
    return found ? found->figure : key.figures.front().figure;
}

constexpr Limb kFeet[] = {Limb::LFoot, Limb::RFoot};

// A foot that is down and where it was put down.
struct Planted {
    Limb foot;
    Point place;
};

// A move travels when it marks the foot that is down in any of its keys.
bool travels(const Animation &move, FigureId id)
{
    for (const Key &key : move.keys()) {
        const Figure &figure = moveFigure(key, id);
        if (figure.pin(Limb::LFoot) || figure.pin(Limb::RFoot))
            return true;
    }
    return false;
}

// The foot the move marks in the key, else the lower one as placed.
Limb footDown(const Figure &marked, const Pose &placed)
{
    if (marked.pin(Limb::LFoot).has_value() != marked.pin(Limb::RFoot).has_value())
        return marked.pin(Limb::LFoot) ? Limb::LFoot : Limb::RFoot;
    return limbJoints(placed, Limb::LFoot).end.y >= limbJoints(placed, Limb::RFoot).end.y ? Limb::LFoot : Limb::RFoot;
}

// The foot the figure stands on where a move comes in after it: its pinned
// foot, the lower pin where both are.
std::optional<Planted> plantedIn(const Figure &figure)
{
    std::optional<Planted> planted;
    for (const Limb foot : kFeet) {
        const std::optional<Point> &pin = figure.pin(foot);
        if (pin && (!planted || pin->y > planted->place.y))
            planted = Planted{foot, *pin};
    }
    return planted;
}

// The hip moved so that the planted foot is at its place, and that foot
// pinned there; then the foot that is down in this key is pinned where it
// lands, and stays planted for the next key.
void walk(Figure &placed, const Figure &marked, std::optional<Planted> &planted)
{
    if (planted) {
        const Point end = limbJoints(placed.pose, planted->foot).end;
        placed.pose.hipX = static_cast<float>(placed.pose.hipX + (planted->place.x - end.x));
        placed.pose.hipY += planted->place.y - end.y;
        placed.pin(planted->foot) = planted->place;
    }
    const Limb down = footDown(marked, placed.pose);
    if (!planted || planted->foot != down) {
        planted = Planted{down, limbJoints(placed.pose, down).end};
        placed.pin(down) = planted->place;
    }
}

} // namespace

std::vector<Key> placedMove(const Animation &move, const Key &current, FigureId figure, Landing landing)
{
    const KeyFigure *standing = current.find(figure);
    assert(standing);
    const Figure &stander = standing->figure;
    const Pose &stand = stander.pose;
    const bool left = (stander.facing == Facing::Left) != (landing == Landing::OtherWay);
    const FigureId moveId = move.key(0).figures.front().id;
    const Pose &first = moveFigure(move.key(0), moveId).pose;
    const double grow = first.scale != 0 ? stand.scale / first.scale : 1.0;
    const double turn = stand.rotation - first.rotation;
    const double cosine = std::cos(turn);
    const double sine = std::sin(turn);
    const bool walking = travels(move, moveId);
    std::optional<Planted> planted = walking ? plantedIn(stander) : std::nullopt;
    std::vector<Key> keys;
    for (const Key &moveKey : move.keys()) {
        // Facing left, the move is mirrored about each key's hip, and its
        // hip's steps go the other way.
        const Figure marked = left ? mirrorFigure(moveFigure(moveKey, moveId)) : moveFigure(moveKey, moveId);
        Pose pose = marked.pose;
        const double dx = (double(pose.hipX) - double(first.hipX)) * (left ? -1 : 1);
        const double dy = pose.hipY - first.hipY;
        // Canvas y grows downward, so a counter-clockwise turn on screen is
        // a clockwise one in these coordinates.
        pose.hipX = static_cast<float>(stand.hipX + (dx * cosine + dy * sine) * grow);
        pose.hipY = stand.hipY + (dy * cosine - dx * sine) * grow;
        pose.scale *= grow;
        pose.rotation += turn;
        Figure placed{pose, stander.penWidth};
        placed.facing = left ? Facing::Left : Facing::Right;
        if (walking)
            walk(placed, marked, planted);
        Key key = current;
        key.find(figure)->figure = placed;
        key.hold = moveKey.hold;
        key.tweens = moveKey.tweens;
        key.ease = moveKey.ease;
        keys.push_back(std::move(key));
    }
    return keys;
}

Status checkOnStage(const std::vector<Key> &keys, FigureId figure)
{
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Pose &pose = moveFigure(keys[i], figure).pose;
        if (pose.hipX < 0 || pose.hipX > 500 || pose.hipY < 0 || pose.hipY > 400)
            return Error{"the move would take the figure off the stage: in its key " + std::to_string(i + 1)
                         + " the hip would be at " + std::to_string(std::lround(pose.hipX)) + ", "
                         + std::to_string(std::lround(pose.hipY)) + ", outside 0 to 500 across and 0 to 400 down"};
    }
    return {};
}

} // namespace zelbrook
