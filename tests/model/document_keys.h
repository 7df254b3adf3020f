// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "test_support.h"

#include <QList>

#include <vector>

// The start-up figure.
inline zelbrook::Figure startFigure() { return zelbrook::Figure{zelbrook::test::startPose()}; }

// Figure n's hip at x + 40n and its body at degrees + 10n.
inline zelbrook::Key keyOf(const QList<int> &ids, float x, double degrees, int hold, int tweens,
                           zelbrook::Ease ease = zelbrook::Ease::Linear)
{
    std::vector<zelbrook::KeyFigure> figures;
    for (int id : ids) {
        figures.push_back({id, startFigure()});
        figures.back().figure.pose.hipX = x + 40.0f * float(id);
        figures.back().figure.pose.bodyAngle = (degrees + 10 * id) / 57.3;
    }
    return zelbrook::Key(std::move(figures), hold, tweens, ease);
}
