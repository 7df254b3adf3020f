// SPDX-License-Identifier: GPL-3.0-or-later
// The in-betweens of two figures: eased times, the shorter way round, and
// the limbs solved to hold their pins.
#include "animation.h"

#include "limb_solve.h"
#include "pose_field.h"

#include <cmath>
#include <numbers>

namespace zelbrook {

namespace {

double valueBetween(Motion motion, double from, double to, double t)
{
    switch (motion) {
    case Motion::Turn:
        return from + shorterTurn(to - from) * t;
    case Motion::Straight:
    case Motion::Whole:
        return from + (to - from) * t;
    case Motion::Held:
        break;
    }
    return from;
}

// A pin within this distance of another, in canvas units, is the same pin.
constexpr double kSamePin = 0.01;

bool samePin(const std::optional<Point> &from, const std::optional<Point> &to)
{
    return from && to && std::hypot(from->x - to->x, from->y - to->y) <= kSamePin;
}

} // namespace

bool holdsPinBetween(const Figure &from, const Figure &to, Limb limb) { return samePin(from.pin(limb), to.pin(limb)); }

namespace {

// The bend of a limb reaching for its pin between two keys: the side the
// earlier key bends it to, else the later; straight in both, towards the way
// the figure faces.
Bend bendBetween(const Figure &from, const Figure &to, const Pose &between, Limb limb, Point pin)
{
    if (const auto bend = bendOf(from.pose, limb))
        return *bend;
    if (const auto bend = bendOf(to.pose, limb))
        return *bend;
    return bendTowards(from.facing, between, limb, pin);
}

} // namespace

double shorterTurn(double difference)
{
    constexpr double kPi = std::numbers::pi;
    while (difference > kPi)
        difference -= 2 * kPi;
    while (difference <= -kPi)
        difference += 2 * kPi;
    return difference;
}

double easedTime(int step, int of, Ease ease)
{
    const double t = static_cast<double>(step) / (of + 1);
    return ease == Ease::Smooth ? t * t * (3.0 - 2.0 * t) : t;
}

Figure inBetween(const Figure &from, const Figure &to, int step, int of, Ease ease)
{
    const double t = easedTime(step, of, ease);
    Figure between = from;
    for (const PoseField &field : poseFields()) {
        // A whole-numbered value that a 16-bit field cannot hold cannot come
        // from two values that it holds, so the assignment always succeeds.
        field.assign(between, valueBetween(field.motion, field.value(from), field.value(to), t));
    }
    for (const Limb limb : kLimbs) {
        std::optional<Point> &pin = between.pin(limb);
        if (!samePin(pin, to.pin(limb))) {
            pin.reset();
            continue;
        }
        solveLimb(between.pose, limb, *pin, bendBetween(from, to, between.pose, limb, *pin));
    }
    return between;
}

} // namespace zelbrook
