// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/lottie_figure.h"

#include "export/lottie_track.h"
#include "render/head_outline.h"

#include <array>
#include <cmath>
#include <numbers>
#include <string>

namespace zelbrook {

namespace {

using Json = nlohmann::ordered_json;
using Values = LottieTrack::Values;
using Source = LottieTrack::Source;
using Form = LottieTrack::Form;
using Between = LottieTrack::Between;

// Lottie turns clockwise on the picture in degrees; the program turns
// counter-clockwise in radians.
constexpr double kDegrees = -180.0 / std::numbers::pi;
constexpr int kHip = 1;
constexpr int kBody = 2;

// The pen is as wide in pixels whatever the figure's scale, so a line's
// width in its layer's units is the pen over the scale, and over the
// head's radius for the dots, whose group is scaled by it. A figure of no size
// keeps a finite width. Across and down differ by less than a percent, and
// the width is their mean.
double lineWidth(const Figure &figure, double length)
{
    const double pixelsPerUnit = std::sqrt(LottieFigure::kPixelsAcross * LottieFigure::kPixelsDown);
    return figure.penWidth / (std::max(std::abs(figure.pose.scale) * length, 1e-6) * pixelsPerUnit);
}

Between sameScale(const Figure &from, const Figure &to)
{
    return from.pose.scale == to.pose.scale ? Between::Held : Between::PerFrame;
}

// The head radius is a whole number in every in-between, rounded.
Between sameHead(const Figure &from, const Figure &to)
{
    return from.pose.headRadius == to.pose.headRadius ? Between::Eased : Between::PerFrame;
}

Between sameScaleAndHead(const Figure &from, const Figure &to)
{
    return from.pose.headRadius == to.pose.headRadius ? sameScale(from, to) : Between::PerFrame;
}

// A segment from the layer's origin along its x axis.
Source path(double Pose::*length)
{
    return {[length](const Figure &f) { return Values{0, 0, f.pose.*length, 0}; }, Form::Path};
}

Source along(double Pose::*length, double fraction = 1.0)
{
    return {[length, fraction](const Figure &f) { return Values{f.pose.*length * fraction, 0}; }};
}

// A limb whose end is pinned through the in-betweens turns as the pin
// asks, which no ease gives: its angles are written a frame at a time.
template <Limb limb>
Between pinnedOrEased(const Figure &from, const Figure &to)
{
    return holdsPinBetween(from, to, limb) ? Between::PerFrame : Between::Eased;
}

Source angle(double Pose::*field, bool turns, Between (*between)(const Figure &, const Figure &) = nullptr)
{
    return {[field](const Figure &f) { return Values{f.pose.*field}; }, Form::Number, kDegrees, 4, turns, between};
}

Source limbAngle(double Pose::*field, bool turns, Limb limb)
{
    constexpr std::array<Between (*)(const Figure &, const Figure &), kLimbCount> kPinned{
        pinnedOrEased<Limb::LHand>, pinnedOrEased<Limb::RHand>, pinnedOrEased<Limb::LFoot>, pinnedOrEased<Limb::RFoot>};
    return angle(field, turns, kPinned[static_cast<std::size_t>(limb)]);
}

Json colourOf(Color color)
{
    return Json::array({((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, (color & 0xFF) / 255.0, 1});
}

struct Layers {
    const std::vector<LottieRun> &runs;
    const CastFigure &figure;
    std::size_t frames;
    Json list = Json::array();

    Json track(const Source &source) const { return LottieTrack::property(runs, source); }

    // A round-capped line in the figure's colour, as the program draws.
    Json stroke(const Source &width) const
    {
        return {{"ty", "st"},
                {"c", {{"a", 0}, {"k", colourOf(figure.color)}}},
                {"o", LottieTrack::fixed({100}, Form::Number)},
                {"w", track(width)},
                {"lc", 2},
                {"lj", 2}};
    }

    void add(int index, std::string name, int parent, Json position, Json rotation, Json scale, Json shapes)
    {
        Json layer = {{"ddd", 0}, {"ind", index}, {"ty", shapes.is_null() ? 3 : 4}, {"nm", std::move(name)}};
        if (parent > 0)
            layer["parent"] = parent;
        layer["ks"] = {{"o", LottieTrack::fixed({100}, Form::Number)},
                       {"r", std::move(rotation)},
                       {"p", std::move(position)},
                       {"a", LottieTrack::fixed({0, 0}, Form::Vector)},
                       {"s", std::move(scale)}};
        if (!shapes.is_null())
            layer["shapes"] = std::move(shapes);
        layer["ip"] = 0;
        layer["op"] = frames;
        layer["st"] = 0;
        layer["sr"] = 1;
        layer["bm"] = 0;
        list.push_back(std::move(layer));
    }

    void segment(int index, std::string name, int parent, Json position, const Source &turn, double Pose::*length)
    {
        add(index, std::move(name), parent, std::move(position), track(turn),
            LottieTrack::fixed({100, 100}, Form::Vector),
            Json::array({{{"ty", "sh"}, {"ks", track(path(length))}},
                         stroke({[](const Figure &f) { return Values{lineWidth(f, 1.0)}; }, Form::Number, 1.0, 6, false,
                                 sameScale})}));
    }

    // The program's head dots: each step's point and its opposite, on an
    // ellipse of radius 1 and the head's width, in a group scaled by the
    // radius. Each dot is a path of no length, which a round cap draws as
    // a dot of the pen's width.
    Json headDots() const
    {
        Json items = Json::array();
        for (int t = 0; t < kHeadSteps; ++t) {
            const double u = t / DEG_PER_RAD;
            for (const double side : {1.0, -1.0}) {
                const Source dot{[u, side](const Figure &f) {
                                     const double x = side * std::cos(u), y = side * f.pose.headWidth * std::sin(u);
                                     return Values{x, y, x, y};
                                 },
                                 Form::Path, 1.0, 5};
                items.push_back({{"ty", "sh"}, {"ks", track(dot)}});
            }
        }
        items.push_back(stroke({[](const Figure &f) { return Values{lineWidth(f, f.pose.headRadius)}; }, Form::Number,
                                1.0, 6, false, sameScaleAndHead}));
        const Source radius{[](const Figure &f) {
                                return Values{100.0 * f.pose.headRadius, 100.0 * f.pose.headRadius};
                            },
                            Form::Vector,
                            1.0,
                            4,
                            false,
                            sameHead};
        items.push_back({{"ty", "tr"},
                         {"p", LottieTrack::fixed({0, 0}, Form::Vector)},
                         {"a", LottieTrack::fixed({0, 0}, Form::Vector)},
                         {"s", track(radius)},
                         {"r", LottieTrack::fixed({0}, Form::Number)},
                         {"o", LottieTrack::fixed({100}, Form::Number)}});
        return Json::array({{{"ty", "gr"}, {"nm", "dots"}, {"it", std::move(items)}}});
    }
};

} // namespace

Json LottieFigure::layers(const Animation &animation, const CastFigure &figure)
{
    const std::vector<LottieRun> runs = lottieRuns(animation, figure.id);
    Layers layers{runs, figure, animation.frameCount()};
    const Json origin = LottieTrack::fixed({0, 0}, Form::Vector);
    const Source hip{[](const Figure &f) { return Values{f.pose.hipX, f.pose.hipY}; }};
    const Source scale{[](const Figure &f) { return Values{100.0 * f.pose.scale, 100.0 * f.pose.scale}; }};
    layers.add(kHip, "hip", 0, layers.track(hip), layers.track(angle(&Pose::rotation, true)), layers.track(scale),
               nullptr);
    layers.segment(kBody, "body", kHip, origin, angle(&Pose::bodyAngle, true), &Pose::bodyLength);
    const Source headCentre{[](const Figure &f) {
                                return Values{f.pose.bodyLength + f.pose.headRadius, 0};
                            },
                            Form::Vector,
                            1.0,
                            4,
                            false,
                            sameHead};
    layers.add(3, "head", kBody, layers.track(headCentre), LottieTrack::fixed({0}, Form::Number),
               LottieTrack::fixed({100, 100}, Form::Vector), layers.headDots());
    // The shoulder is on the body at 0.8 of its length.
    layers.segment(4, "left upper arm", kBody, layers.track(along(&Pose::bodyLength, 0.8)),
                   limbAngle(&Pose::lArmAngle1, true, Limb::LHand), &Pose::armLength1);
    layers.segment(5, "left forearm", 4, layers.track(along(&Pose::armLength1)),
                   limbAngle(&Pose::lArmAngle2, false, Limb::LHand), &Pose::armLength2);
    layers.segment(6, "right upper arm", kBody, layers.track(along(&Pose::bodyLength, 0.8)),
                   limbAngle(&Pose::rArmAngle1, true, Limb::RHand), &Pose::armLength1);
    layers.segment(7, "right forearm", 6, layers.track(along(&Pose::armLength1)),
                   limbAngle(&Pose::rArmAngle2, false, Limb::RHand), &Pose::armLength2);
    layers.segment(8, "left thigh", kHip, origin, limbAngle(&Pose::lLegAngle1, true, Limb::LFoot), &Pose::legLength1);
    layers.segment(9, "left shin", 8, layers.track(along(&Pose::legLength1)),
                   limbAngle(&Pose::lLegAngle2, false, Limb::LFoot), &Pose::legLength2);
    layers.segment(10, "right thigh", kHip, origin, limbAngle(&Pose::rLegAngle1, true, Limb::RFoot), &Pose::legLength1);
    layers.segment(11, "right shin", 10, layers.track(along(&Pose::legLength1)),
                   limbAngle(&Pose::rLegAngle2, false, Limb::RFoot), &Pose::legLength2);
    return layers.list;
}

} // namespace zelbrook
