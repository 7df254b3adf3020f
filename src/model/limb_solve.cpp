// SPDX-License-Identifier: GPL-3.0-or-later
#include "limb_solve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zelbrook {

namespace {

constexpr double kPi = std::numbers::pi;

// Directions of the two segments, in radians counter-clockwise, measured
// in a frame where the root is the origin and y grows upward.
struct Directions {
    double first;
    double second;
};

// Two segments of lengths a and b from the origin reaching for (x, y);
// `side` is +1 where the second turns counter-clockwise from the first.
Directions reachFor(double x, double y, double a, double b, double side, double keptFirst)
{
    const double distance = std::hypot(x, y);
    if (distance == 0)
        return {keptFirst, keptFirst + kPi};
    const double towards = std::atan2(y, x);
    if (distance >= a + b)
        return {towards, towards};
    if (distance <= std::abs(a - b))
        return a >= b ? Directions{towards, towards + kPi} : Directions{towards + kPi, towards};
    const double cosine = std::clamp((a * a + distance * distance - b * b) / (2 * a * distance), -1.0, 1.0);
    const double first = towards - side * std::acos(cosine);
    // The second segment is aimed from the bend at the target itself, so
    // that the end lands on it to the last bits however the triangle rounds.
    return {first, std::atan2(y - a * std::sin(first), x - a * std::cos(first))};
}

} // namespace

std::optional<Bend> bendOf(const Pose &pose, Limb limb)
{
    const double sine = std::sin(pose.*limbMembers(limb).angle2);
    if (sine == 0)
        return std::nullopt;
    return sine > 0 ? Bend::CounterClockwise : Bend::Clockwise;
}

// With y growing upward, a bend of -1 puts the knee counter-clockwise of the
// line to the target, so its offset across is the sine of the line's
// direction times the bend.
Bend bendTowards(Facing facing, const Pose &pose, Limb limb, Point target)
{
    const Point root = limbJoints(pose, limb).root;
    const double across = target.x - root.x;
    const double up = root.y - target.y;
    const double way = facing == Facing::Right ? 1 : -1;
    if (up == 0)
        return across >= 0 ? Bend::CounterClockwise : Bend::Clockwise;
    return (up > 0 ? way : -way) > 0 ? Bend::CounterClockwise : Bend::Clockwise;
}

void solveLimb(Pose &pose, Limb limb, Point target, Bend bend)
{
    const double scale = pose.scale;
    if (scale == 0)
        return;
    const LimbMembers m = limbMembers(limb);
    const Point root = limbJoints(pose, limb).root;
    const double base = limbBaseDirection(pose, limb);
    const double a = std::abs(pose.*m.length1);
    const double b = std::abs(pose.*m.length2);
    const Directions found = reachFor((target.x - root.x) / scale, (root.y - target.y) / scale, a, b,
                                      static_cast<double>(bend), pose.*m.angle1 + base);
    double first = std::remainder(found.first - base, 2 * kPi);
    // Each first angle keeps to its slider's turn: the right arm's slider
    // stores its position negated.
    if (limb == Limb::RHand ? first > 0 : first < 0)
        first += limb == Limb::RHand ? -2 * kPi : 2 * kPi;
    pose.*m.angle1 = first;
    pose.*m.angle2 = std::remainder(found.second - found.first, 2 * kPi);
}

} // namespace zelbrook
