// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/pose.h"
#include "model/result.h"
#include "tools/render_options.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelbrook {

// What zelbrook-render draws from one input: a pose, read from a pose file
// or the start-up pose, or an animation of keys read from an animation file.
class RenderInput
{
public:
    // The start-up pose with the scale and rotation of the options.
    static RenderInput startPose(const RenderOptions &options);
    // A pose file's or an animation file's text, told apart by its content.
    // The error does not name the file.
    static Result<RenderInput> fromText(std::string_view text, const RenderOptions &options);

    bool isAnimation() const { return m_animation.has_value(); }
    std::size_t keyCount() const { return m_animation ? m_animation->keyCount() : 1; }
    // The pose of a pose file, or of the start-up pose.
    const Pose &pose() const { return m_pose; }

    // The animation the options ask for: a pose is one key; an animation's
    // every key has its scale multiplied and its rotation turned by the
    // options', its pen replaced by --pen, and its rate by --fps.
    Animation animation(const RenderOptions &options) const;
    // The scene that a picture, the data or a pose file of the input shows:
    // the pose as one black figure, or the figures of an animation's only
    // key or of the key --key picks, each with the options' scale, rotation
    // and pen, or only the figure --figure picks. Refused when there is no
    // such key.
    Result<std::vector<SceneFigure>> scene(const RenderOptions &options) const;
    // Why the command line cannot have one picture or pose file of the
    // input: an animation of several keys without --key, a figure id the key
    // does not hold, or a pose file of a key of several figures without
    // --figure.
    std::optional<std::string> refusal(const RenderOptions &options) const;

private:
    // The key a picture shows, when the options pick one that there is.
    std::optional<std::size_t> pickedKey(const RenderOptions &options) const;
    std::vector<FigureId> figureIdsOf(std::size_t key) const;

    Pose m_pose;
    std::optional<Animation> m_animation;
};

} // namespace zelbrook
