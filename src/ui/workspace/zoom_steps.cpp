// SPDX-License-Identifier: GPL-3.0-or-later
#include "zoom_steps.h"

#include "platform/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace zelbrook {

namespace {

constexpr double kSteps[] = {
    kSmallestZoomStep, 1.0 / 3, 0.5, 2.0 / 3, 0.8, 1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, kLargestZoomStep};
// A zoom this close to a step is on it.
constexpr double kOnStep = 1e-6;
// Fit never makes the picture smaller than a few pixels, nor zero.
constexpr double kSmallestFit = 1.0 / 64;

} // namespace

double zoomStepAbove(double zoom)
{
    const auto above =
        std::find_if(std::begin(kSteps), std::end(kSteps), [zoom](double step) { return step > zoom * (1 + kOnStep); });
    return above == std::end(kSteps) ? zoom : *above;
}

double zoomStepBelow(double zoom)
{
    const auto below = std::find_if(std::rbegin(kSteps), std::rend(kSteps),
                                    [zoom](double step) { return step < zoom * (1 - kOnStep); });
    return below == std::rend(kSteps) ? zoom : *below;
}

// The picture's device pixels are rounded to whole ones, so the zoom is
// worked out from the whole device pixels of the area, which a rounded
// picture never passes.
double fitZoom(QSize area, double ratio)
{
    const double across = std::floor(area.width() * ratio) / (RasterCanvas::kPixelWidth * ratio);
    const double down = std::floor(area.height() * ratio) / (RasterCanvas::kPixelHeight * ratio);
    return std::clamp(std::min(across, down), kSmallestFit, kLargestZoomStep);
}

} // namespace zelbrook
