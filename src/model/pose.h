// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace zelbrook {

// Every conversion between slider degrees and stored radians divides or
// multiplies by this, in both directions. It is deliberately not 180/pi:
// converting there and back is exact only because both ways use it.
inline constexpr double DEG_PER_RAD = 57.3;

constexpr double degreesToRadians(double degrees) { return degrees / DEG_PER_RAD; }
constexpr double radiansToDegrees(double radians) { return radians * DEG_PER_RAD; }

// The one record that describes the figure. Lengths and positions are canvas
// units (500 across, 400 down, y growing downward); angles are radians,
// counter-clockwise as seen on screen. Fields are plain and unchecked: the
// sliders, the pose file reader and the defaults are their only writers.
struct Pose {
    float hipX = 0.0f;
    double hipY = 0.0;
    double bodyLength = 0.0;
    double bodyAngle = 0.0;
    double legLength1 = 0.0;
    double legLength2 = 0.0;
    double lLegAngle1 = 0.0;
    double lLegAngle2 = 0.0;
    double rLegAngle1 = 0.0;
    double rLegAngle2 = 0.0;
    double armLength1 = 0.0;
    double armLength2 = 0.0;
    double lArmAngle1 = 0.0;
    double lArmAngle2 = 0.0;
    double rArmAngle1 = 0.0;
    std::int16_t headRadius = 0;
    double rArmAngle2 = 0.0;
    double headWidth = 0.0;
    double rotation = 0.0;
    double scale = 0.0;

    // The start-up pose. The hip sits at half the canvas width as the window
    // reports it (in window units, not canvas units), halved in single
    // precision.
    static Pose defaults(float canvasWidth);

    friend bool operator==(const Pose &, const Pose &) = default;
};

} // namespace zelbrook
