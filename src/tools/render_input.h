// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation.h"
#include "model/pose.h"
#include "model/result.h"
#include "tools/render_options.h"

#include <optional>
#include <string_view>

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
    // The one figure that a picture or a pose file of the input shows: the
    // pose, an animation's only key, or the key --key picks. Empty when an
    // animation has more keys and none is picked.
    Result<std::optional<Figure>> figure(const RenderOptions &options) const;

private:
    Pose m_pose;
    std::optional<Animation> m_animation;
};

} // namespace zelbrook
