// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "point.h"
#include "pose.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zelbrook {

// The four limbs, each named after the end that can be pinned, in the order
// of their names in files and frames.
enum class Limb : std::uint8_t { LHand, RHand, LFoot, RFoot };
inline constexpr std::size_t kLimbCount = 4;
inline constexpr std::array<Limb, kLimbCount> kLimbs = {Limb::LHand, Limb::RHand, Limb::LFoot, Limb::RFoot};

// "lHand", "rHand", "lFoot" or "rFoot", as JSON frames name the joints.
std::string_view limbName(Limb limb);
std::optional<Limb> limbNamed(std::string_view name);

// The pose's members that a limb is drawn from.
struct LimbMembers {
    double Pose::*length1;
    double Pose::*length2;
    double Pose::*angle1;
    double Pose::*angle2;
};
LimbMembers limbMembers(Limb limb);
bool isArm(Limb limb);

// Where a limb starts, bends and ends, in canvas units, worked out in the
// very order of the drawing's arithmetic, so that the end is where the
// figure is drawn.
struct LimbJoints {
    Point root;
    Point bend;
    Point end;
};
LimbJoints limbJoints(const Pose &pose, Limb limb);

// The direction, in radians counter-clockwise on screen, from which a limb's
// first angle is measured: the rotation, and for an arm the body's angle too.
double limbBaseDirection(const Pose &pose, Limb limb);

} // namespace zelbrook
