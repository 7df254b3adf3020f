// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose.h"

namespace zelbrook {

Pose Pose::defaults(float canvasWidth)
{
    Pose pose;
    pose.hipX = canvasWidth / 2.0f;
    pose.hipY = 210;
    pose.bodyLength = 35;
    pose.bodyAngle = degreesToRadians(90);
    pose.legLength1 = 28;
    pose.legLength2 = 23;
    pose.lLegAngle1 = degreesToRadians(266);
    pose.lLegAngle2 = degreesToRadians(2);
    pose.rLegAngle1 = degreesToRadians(295);
    pose.rLegAngle2 = degreesToRadians(-20);
    pose.armLength1 = 20;
    pose.armLength2 = 20;
    pose.lArmAngle1 = degreesToRadians(130);
    pose.lArmAngle2 = degreesToRadians(94);
    pose.rArmAngle1 = degreesToRadians(-130);
    pose.headRadius = 10;
    pose.rArmAngle2 = degreesToRadians(30);
    pose.headWidth = 0.7;
    pose.rotation = 0;
    pose.scale = 1;
    return pose;
}

} // namespace zelbrook
