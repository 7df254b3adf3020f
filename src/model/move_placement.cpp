// SPDX-License-Identifier: GPL-3.0-or-later
#include "move_placement.h"

#include <cassert>
#include <cmath>

namespace zelbrook {

namespace {

const Figure &moveFigure(const Key &key, FigureId id)
{
    const KeyFigure *found = key.find(id);
    return found ? found->figure : key.figures.front().figure;
}

} // namespace

std::vector<Key> placedMove(const Animation &move, const Key &current, FigureId figure)
{
    const KeyFigure *standing = current.find(figure);
    assert(standing);
    const Pose &stand = standing->figure.pose;
    const FigureId moveId = move.key(0).figures.front().id;
    const Pose &first = moveFigure(move.key(0), moveId).pose;
    const double grow = first.scale != 0 ? stand.scale / first.scale : 1.0;
    const double turn = stand.rotation - first.rotation;
    const double cosine = std::cos(turn);
    const double sine = std::sin(turn);
    std::vector<Key> keys;
    for (const Key &moveKey : move.keys()) {
        Pose pose = moveFigure(moveKey, moveId).pose;
        const double dx = double(pose.hipX) - double(first.hipX);
        const double dy = pose.hipY - first.hipY;
        // Canvas y grows downward, so a counter-clockwise turn on screen is
        // a clockwise one in these coordinates.
        pose.hipX = static_cast<float>(stand.hipX + (dx * cosine + dy * sine) * grow);
        pose.hipY = stand.hipY + (dy * cosine - dx * sine) * grow;
        pose.scale *= grow;
        pose.rotation += turn;
        Key key = current;
        key.find(figure)->figure = Figure{pose, standing->figure.penWidth};
        key.hold = moveKey.hold;
        key.tweens = moveKey.tweens;
        key.ease = moveKey.ease;
        keys.push_back(std::move(key));
    }
    return keys;
}

} // namespace zelbrook
