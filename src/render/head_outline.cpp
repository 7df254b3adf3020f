// SPDX-License-Identifier: GPL-3.0-or-later
#include "head_outline.h"

#include <cmath>

namespace zelbrook {

namespace {

struct StepDirection {
    double cosU;
    double sinU;
};

// cos u and sin u depend on the step alone, so they are worked out once.
const std::array<StepDirection, kHeadSteps> &stepDirections()
{
    static const auto directions = [] {
        std::array<StepDirection, kHeadSteps> steps;
        for (int t = 0; t < kHeadSteps; ++t) {
            const double u = t / DEG_PER_RAD;
            steps[t] = {std::cos(u), std::sin(u)};
        }
        return steps;
    }();
    return directions;
}

} // namespace

HeadOutline ComputeHeadOutline(const Pose &p, Point centre)
{
    const auto &directions = stepDirections();
    HeadOutline outline;
    for (int t = 0; t < kHeadSteps; ++t) {
        const double a = p.headRadius * directions[t].cosU;
        const double b = (p.headRadius * p.headWidth) * directions[t].sinU;
        const double r = std::sqrt((a * a) + (b * b));
        // The principal arctangent, with no quadrant correction: past t = 90
        // a turns negative and alpha names the point (-a, -b), which keeps
        // every first point on the crown half. With a zero radius b / a is
        // 0 / 0; any direction puts the point on the centre, so take 0.
        const double alpha = p.headRadius == 0 ? 0.0 : std::atan(b / a);
        const double psi = (alpha - p.bodyAngle) - p.rotation;
        const double d = r * p.scale;
        outline[t] = {{centre.x + (d * std::cos(psi)), centre.y + (d * std::sin(psi))},
                      {centre.x - (d * std::cos(psi)), centre.y - (d * std::sin(psi))}};
    }
    return outline;
}

} // namespace zelbrook
