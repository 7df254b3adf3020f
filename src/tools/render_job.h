// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/pose.h"
#include "model/result.h"
#include "tools/render_input.h"
#include "tools/render_options.h"

#include <QByteArray>
#include <QIODevice>

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelbrook {

// One run of zelbrook-render for one input: read the pose or the animation,
// draw it, encode it, write it. Errors name the file and the problem, such as
// "pose.zbk: the file ends before item 9 (rLegAngle2)".
class RenderJob
{
public:
    // How messages name the start-up pose, by the option that asks for it.
    static constexpr std::string_view kStartPoseName = "--default";

    // The stream serves a pose given as "-"; an output given as "-" goes to
    // the process's standard output.
    RenderJob(RenderOptions options, QIODevice &standardInput);

    // The output is put in place only when complete. Running out of memory
    // is a failure like any other.
    Status run();
    // Whether run() failed because the command line asked the input for
    // what it cannot give, such as one picture of an animation of several
    // keys.
    bool failedOnCommandLine() const { return m_failedOnCommandLine; }

    // Reads the pose or the animation from its file or standard input, as
    // the editor's open command reads one, all or nothing, with the scale
    // and rotation of the options; or gives the start-up pose.
    Result<RenderInput> readInput();

    // The output's content for the scene, with the format, zoom or size of
    // the options. The error does not name the file. With --trim, the
    // frames of one animation are all cut to `trimArea`, the rectangle of
    // the whole animation, so that they stay aligned; without it a picture
    // is cut to its own figures.
    static Result<QByteArray> encode(Exporter &exporter, std::span<const SceneFigure> scene,
                                     const RenderOptions &options, std::optional<QRect> trimArea = {});
    // A pose file's or an animation file's bytes. The error does not name
    // the file.
    static Result<std::string> readInputFile(const std::string &path);
    // The zoom the options' picture is drawn at.
    static int drawingZoom(const RenderOptions &options);

private:
    Status render();
    // Whether the sheet's atlas would be written over the input file.
    bool atlasTakesInput() const;
    Result<std::string> readInputText();
    Status writeScene(const RenderInput &input);
    Status write(const QByteArray &bytes);
    std::string poseName() const;
    std::string outputName() const;

    RenderOptions m_options;
    QIODevice &m_standardInput;
    Exporter m_exporter;
    bool m_failedOnCommandLine = false;
};

} // namespace zelbrook
