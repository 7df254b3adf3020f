// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

namespace zelbrook {

// The zooms the stage steps through, a quarter to eight times the picture's
// pixels, each about a quarter or a third larger than the one before.
inline constexpr double kSmallestZoomStep = 0.25;
inline constexpr double kLargestZoomStep = 8.0;

// The next step above or below a zoom, which need not be a step itself; the
// zoom itself past the last step.
double zoomStepAbove(double zoom);
double zoomStepBelow(double zoom);

// The largest zoom at which the picture, kept whole on the screen's device
// pixels at this ratio, fits in the area, no larger than the largest step.
double fitZoom(QSize area, double ratio);

} // namespace zelbrook
