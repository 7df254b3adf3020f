// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/lottie_writer.h"

#include "export/lottie_figure.h"
#include "export/lottie_track.h"
#include "export/sprite_atlas.h"
#include "platform/raster_canvas.h"
#include "posefile/json_text.h"
#include "render/draw_figure.h"

#include <QFontMetrics>

#include <cmath>

namespace zelbrook {

namespace {

using Json = nlohmann::ordered_json;
using Form = LottieTrack::Form;

constexpr std::string_view kFontName = "DejaVuSans";
constexpr int kRemarkHead = 90;

struct Composition {
    const Animation &animation;
    int zoom;
    QPoint offset; // of the picture's top left corner in the composition
    Json layers = Json::array();

    void add(Json layer, int type, std::string name, Json position, Json scale, Json opacity)
    {
        Json head = {{"ddd", 0}, {"ind", layers.size() + 1}, {"ty", type}, {"nm", std::move(name)}};
        head.update(layer);
        head["ks"] = {{"o", std::move(opacity)},
                      {"r", LottieTrack::fixed({0}, Form::Number)},
                      {"p", std::move(position)},
                      {"a", LottieTrack::fixed({0, 0}, Form::Vector)},
                      {"s", std::move(scale)}};
        head["ip"] = 0;
        head["op"] = animation.frameCount();
        head["st"] = 0;
        head["sr"] = 1;
        head["bm"] = 0;
        layers.push_back(std::move(head));
    }

    // Shown (100) and hidden (0) from frame to frame, each change a held
    // keyframe.
    static Json shownIn(const std::vector<bool> &shown)
    {
        Json keyframes = Json::array();
        for (std::size_t i = 0; i < shown.size(); ++i)
            if (i == 0 || shown[i] != shown[i - 1])
                keyframes.push_back({{"t", i}, {"s", {shown[i] ? 100 : 0}}, {"h", 1}});
        if (keyframes.size() == 1)
            return LottieTrack::fixed({shown.front() ? 100.0 : 0.0}, Form::Number);
        return {{"a", 1}, {"k", std::move(keyframes)}};
    }

    // The text's top left corner at a place of the canvas, as the canvas
    // prints it; Lottie places text by its baseline.
    void text(std::string name, CanvasPoint at, std::string_view text, const std::vector<bool> &shown)
    {
        QFont font = RasterCanvas::textFont();
        font.setPixelSize(font.pixelSize() * zoom);
        const double x = std::floor(at.x * (RasterCanvas::kPixelWidth * zoom / RasterCanvas::kUnitWidth));
        const double y = std::floor(at.y * (RasterCanvas::kPixelHeight * zoom / RasterCanvas::kUnitHeight));
        const Json document = {{"s", font.pixelSize()},
                               {"f", kFontName},
                               {"t", text},
                               {"j", 0},
                               {"tr", 0},
                               {"lh", QFontMetrics(font).lineSpacing()},
                               {"ls", 0},
                               {"fc", {0, 0, 0}}};
        Json layer = {{"t",
                       {{"d", {{"k", Json::array({{{"s", document}, {"t", 0}}})}}},
                        {"p", Json::object()},
                        {"m", {{"g", 1}, {"a", LottieTrack::fixed({0, 0}, Form::Vector)}}},
                        {"a", Json::array()}}}};
        add(std::move(layer), 5, std::move(name),
            LottieTrack::fixed({x + offset.x(), y + QFontMetrics(font).ascent() + offset.y()}, Form::Vector),
            LottieTrack::fixed({100, 100}, Form::Vector), shownIn(shown));
    }

    void figure(const CastFigure &figure)
    {
        std::vector<bool> shown(animation.frameCount(), false);
        for (const LottieRun &run : lottieRuns(animation, figure.id)) {
            const std::size_t end = run.next ? run.holdEnd + static_cast<std::size_t>(run.tweens) : run.holdEnd;
            if (run.figure)
                std::fill(shown.begin() + static_cast<std::ptrdiff_t>(run.first),
                          shown.begin() + static_cast<std::ptrdiff_t>(end) + 1, true);
        }
        const Json stage = {{"refId", "figure " + std::to_string(figure.id)}, {"w", 500}, {"h", 400}};
        add(stage, 0, figure.name, LottieTrack::fixed({double(offset.x()), double(offset.y())}, Form::Vector),
            LottieTrack::fixed({100.0 * zoom * LottieFigure::kPixelsAcross, 100.0 * zoom * LottieFigure::kPixelsDown},
                               Form::Vector),
            shownIn(shown));
    }
};

// The frames whose scene holds a head so large that the program writes its
// remark.
std::vector<bool> boastingFrames(const Animation &animation)
{
    std::vector<bool> frames;
    frames.reserve(animation.frameCount());
    for (const FrameRef &frame : animation.frames()) {
        const std::vector<SceneFigure> scene = animation.sceneAt(frame);
        frames.push_back(std::ranges::any_of(
            scene, [](const SceneFigure &figure) { return figure.figure.pose.headRadius > kRemarkHead; }));
    }
    return frames;
}

Json markers(const Animation &animation, const std::string &name)
{
    Json list = Json::array();
    for (std::size_t key = 0; key < animation.keyCount(); ++key) {
        const std::size_t first = animation.firstFrameOf(key);
        list.push_back(
            {{"tm", first}, {"cm", SpriteAtlas::tagName(name, key)}, {"dr", animation.firstFrameOf(key + 1) - first}});
    }
    return list;
}

} // namespace

std::string LottieWriter::json(const Animation &animation, std::string_view caption, int zoom, const FrameStyle &style,
                               const std::string &name)
{
    const QRect picture =
        style.trim.value_or(QRect(0, 0, RasterCanvas::kPixelWidth * zoom, RasterCanvas::kPixelHeight * zoom));
    Composition composition{animation, zoom, -picture.topLeft()};
    const std::vector<bool> always(animation.frameCount(), true);
    if (!style.trim) {
        composition.text("credit", {RasterCanvas::kWindowUnitWidth - 200.0f, RasterCanvas::kWindowUnitHeight},
                         std::string(kCreditPrefix).append(caption), always);
        const std::vector<bool> boasting = boastingFrames(animation);
        if (std::ranges::find(boasting, true) != boasting.end())
            composition.text("remark", {350, 30}, kCleverRemark, boasting);
    }
    Json assets = Json::array();
    for (auto figure = animation.cast().rbegin(); figure != animation.cast().rend(); ++figure) {
        composition.figure(*figure);
        assets.push_back({{"id", "figure " + std::to_string(figure->id)},
                          {"nm", figure->name},
                          {"layers", LottieFigure::layers(animation, *figure)}});
    }
    if (!style.transparent())
        composition.add({{"sc", "#ffffff"}, {"sw", picture.width()}, {"sh", picture.height()}}, 1, "background",
                        LottieTrack::fixed({0, 0}, Form::Vector), LottieTrack::fixed({100, 100}, Form::Vector),
                        LottieTrack::fixed({100}, Form::Number));
    Json file = {{"v", "5.7.4"},
                 {"fr", animation.playback().fps},
                 {"ip", 0},
                 {"op", animation.frameCount()},
                 {"w", picture.width()},
                 {"h", picture.height()},
                 {"nm", name},
                 {"ddd", 0},
                 {"assets", std::move(assets)}};
    if (!style.trim)
        file["fonts"] = {
            {"list", {{{"fName", kFontName}, {"fFamily", "DejaVu Sans"}, {"fStyle", "Book"}, {"ascent", 76}}}}};
    file["layers"] = std::move(composition.layers);
    file["markers"] = markers(animation, name);
    return jsonText(file) + "\n";
}

} // namespace zelbrook
