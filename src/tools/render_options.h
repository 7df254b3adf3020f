#pragma once

#include "platform/raster_canvas.h"

#include <QString>
#include <QStringList>

#include <variant>

namespace zelbrook {

// Asked for the usage text with --help.
struct RenderHelpRequest {};

// Arguments that do not make a job: what is wrong, in a few words.
struct RenderUsageError {
    QString message;
};

struct RenderOptions;
using ParsedRenderArguments = std::variant<RenderOptions, RenderHelpRequest, RenderUsageError>;

// One run of zelbrook-render, as its command line asks for it.
struct RenderOptions {
    enum class PoseSource { File, StandardInput, Defaults };
    enum class OutputTarget { File, StandardOutput };
    enum class Format { Bmp, Png, Svg, Json, Zbk };

    static constexpr int kMinimumPen = RasterCanvas::kThinnestPen;
    static constexpr int kMaximumPen = RasterCanvas::kThickestPen;
    static constexpr int kMinimumZoom = 1;
    static constexpr int kMaximumZoom = RasterCanvas::kMaximumZoom;

    PoseSource poseSource = PoseSource::Defaults;
    // The pose file's path as given, when the pose comes from a file.
    QString posePath;
    OutputTarget outputTarget = OutputTarget::File;
    QString outputPath;
    Format format = Format::Png;
    double scale = 1.0;
    // Radians, converted from the degrees given as the editor converts them.
    double rotation = 0.0;
    int penWidth = 2;
    int zoom = 1;

    // The arguments without the program's name.
    static ParsedRenderArguments parse(const QStringList &arguments);
    static QString usage();
};

} // namespace zelbrook
