#pragma once

#include "model/pose.h"
#include "render/svg_canvas.h"
#include "tools/render_options.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>
#include <variant>

namespace zelbrook {

// One run of zelbrook-render: read the pose, draw it, encode it, write it.
// Failures are returned as text that names the file and the problem, such as
// "pose.zbk: the file ends before item 9 (rLegAngle2)".
class RenderJob
{
public:
    // No pose file comes near this; a larger input is refused, not cut.
    static constexpr qint64 kMaximumPoseBytes = 1024 * 1024;

    // The streams serve a pose or an output given as "-".
    RenderJob(RenderOptions options, QIODevice &standardInput, QIODevice &standardOutput);

    // Empty on success. The output is put in place only when complete.
    std::optional<QString> run();

    // The pose as the editor's open command reads it, all or nothing, with
    // the scale and rotation of the options; or the start-up pose.
    std::variant<Pose, QString> pose();
    // The output's content for the pose, in the format of the options.
    std::variant<QByteArray, QString> render(const Pose &pose) const;

    // The SVG page that stands in for the editor's canvas.
    static SvgPage svgPage();

private:
    Pose startPose() const;
    std::variant<QByteArray, QString> readPoseText();
    std::variant<QByteArray, QString> readStandardInput();
    std::variant<QByteArray, QString> rasterPicture(const Pose &pose, const char *format) const;
    QByteArray svgDocument(const Pose &pose) const;
    std::optional<QString> write(const QByteArray &bytes);
    QString poseName() const;
    QString outputName() const;

    RenderOptions m_options;
    QIODevice &m_standardInput;
    QIODevice &m_standardOutput;
};

} // namespace zelbrook
