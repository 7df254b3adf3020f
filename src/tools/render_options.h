// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/figure.h"
#include "platform/raster_canvas.h"
#include "tools/render_format.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace zelbrook {

// Asked for the usage text with --help.
struct RenderHelpRequest {};
// Asked for the program's version with --version.
struct RenderVersionRequest {};
// Asked for the shelf's poses with --list-poses.
struct RenderListPosesRequest {};

// Arguments that do not make a job: what is wrong, in a few words.
struct RenderUsageError {
    std::string message;
};

// Many poses rendered into one folder in one run. Names are the bytes given.
struct RenderBatch {
    static constexpr int kMinimumJobs = 1;
    static constexpr int kMaximumJobs = 256;

    std::string outputDir;
    std::vector<std::string> poses;
    // A file of pose file names, one a line; "-" is standard input.
    std::optional<std::string> listPath;
    // The start-up pose is rendered too, as "default".
    bool startPose = false;
    // Threads to render on; 0 for one a processor.
    int jobs = 0;
    bool quiet = false;
};

struct RenderOptions;
using ParsedRenderArguments =
    std::variant<RenderOptions, RenderHelpRequest, RenderVersionRequest, RenderListPosesRequest, RenderUsageError>;

// One run of zelbrook-render, as its command line asks for it.
struct RenderOptions {
    enum class PoseSource { File, StandardInput, Defaults };
    enum class OutputTarget { File, StandardOutput };
    using Format = RenderFormat;

    static constexpr int kMinimumPen = kPenWidthRange.minimum;
    static constexpr int kMaximumPen = kPenWidthRange.maximum;
    static constexpr int kMinimumZoom = 1;
    static constexpr int kMaximumZoom = RasterCanvas::kMaximumZoom;
    static constexpr int kMinimumSize = Exporter::kMinimumFittedSize;
    static constexpr int kMaximumSize = Exporter::kMaximumFittedSize;

    PoseSource poseSource = PoseSource::Defaults;
    // The pose file's path as given, when the pose comes from a file.
    std::string posePath;
    OutputTarget outputTarget = OutputTarget::File;
    std::string outputPath;
    Format format = Format::Png;
    double scale = 1.0;
    // Radians, converted from the degrees given as the editor converts them.
    double rotation = 0.0;
    int penWidth = 2;
    // Whether --pen was given, so that it replaces every key's pen.
    bool penGiven = false;
    int zoom = 1;
    // Present with --size: the picture scaled to fit within size x size
    // pixels instead of drawn at a zoom.
    std::optional<int> size;
    // With --fps: the animation's frames a second, replacing its own.
    std::optional<int> fps;
    // With --loop (true) or --once (false): whether the animation plays
    // again from its first frame, replacing its own choice.
    std::optional<bool> loop;
    // With --columns: a sprite sheet's frames across.
    std::optional<int> columns;
    // With --padding and --extrude: a sprite sheet's pixels between cells,
    // and its cells' edge pixels repeated outward.
    std::optional<int> padding;
    std::optional<int> extrude;
    // With --key: one key of an animation, counted from 1.
    std::optional<int> key;
    // With --figure: the id of the one figure of the key to draw or write.
    std::optional<int> figure;
    // --transparent: the background is left transparent instead of white.
    bool transparent = false;
    // --trim: every frame cut to the figures, without the credit line.
    bool trim = false;
    // --atlas: a sprite sheet's atlas beside it, as NAME.json.
    bool atlas = false;
    // Present with --output-dir; then the pose and output above are unused.
    std::optional<RenderBatch> batch;

    // The arguments without the program's name.
    static ParsedRenderArguments parse(const std::vector<std::string> &arguments);
    static std::string usage();
    static std::string version();
    // The format of that name, in any case of letters.
    static std::optional<Format> formatNamed(std::string_view name);
    // The extension of the format's files, without the dot.
    static std::string_view extension(Format format);
};

} // namespace zelbrook
