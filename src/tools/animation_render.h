// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_target.h"
#include "model/animation.h"
#include "model/result.h"
#include "tools/render_format.h"
#include "tools/render_options.h"

#include <optional>
#include <string>

namespace zelbrook {

// Writes an animation in a format of the command line that holds all of it:
// an animated picture or a video, a sprite sheet, the motion data of every
// frame, or an animation file, each as its AnimationTarget writes it.
struct AnimationRender {
    RenderFormat format = RenderFormat::Gif;
    int zoom = 1;
    // A sprite sheet's frames across; empty for the squarest grid.
    std::optional<int> columns;
    bool transparent = false;
    bool trim = false;
    bool atlas = false;
    int padding = 0;
    int extrude = 0;

    // What the options of the command line ask for.
    static AnimationRender of(const RenderOptions &options);

    // Writes to the named file, or to standard output when the name is
    // empty. The error does not name the output.
    Status write(const Animation &animation, const std::string &path,
                 const AnimationExporter::FrameDone &frameDone = {}) const;

    // Whether the options' format holds an animation of several keys, given
    // that an animation was read; json of a pose file, or of the key or the
    // figure the options pick, is the data of that scene.
    static bool holdsAnimation(const RenderOptions &options, bool inputIsAnimation);
};

} // namespace zelbrook
