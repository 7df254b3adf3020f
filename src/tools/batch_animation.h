// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/animation.h"
#include "model/result.h"
#include "tools/render_options.h"

#include <functional>
#include <string>
#include <string_view>

namespace zelbrook {

class BatchProgress;
class OutputWriters;

// One animation of a batch: a picture of each frame, numbered, written
// through the batch's writers, or one file in a format that holds the whole
// animation. Its frames are counted on the progress bar as they are done.
class BatchAnimation
{
public:
    // Told of an output that could not be written, once for the animation.
    using Failed = std::function<void(const std::string &path, const Error &error)>;

    BatchAnimation(const RenderOptions &options, BatchProgress &progress, Failed failed);

    // Numbered pictures of every frame: DIR/stem-0001.png and on. When one
    // fails, the frames that did not exist before are removed once every
    // frame is done, and the one failure reported says how many were
    // written.
    void writeFrames(const Animation &animation, const std::string &stemPath, Exporter &exporter,
                     OutputWriters &writers) const;
    // The animation in the options' format, to DIR/stem.FORMAT.
    void writeWhole(const Animation &animation, const std::string &stemPath) const;

private:
    const RenderOptions &m_options;
    BatchProgress &m_progress;
    Failed m_failed;
};

} // namespace zelbrook
