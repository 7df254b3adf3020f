// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/frame_style.h"
#include "model/animation.h"

#include <string>
#include <string_view>

namespace zelbrook {

// The animation as a Lottie file, the JSON animation that web pages and
// apps play: the composition is the picture at the zoom (cut to the trim
// rectangle when there is one), each figure its skeleton of layers in its
// own composition, mapped onto the picture as the canvas maps its units,
// shown in the frames that show it; the white background unless
// transparent; the remark and the credit line as text where the program
// writes them (left out of a cut picture); and a marker at each key's
// first frame. Frame n of the animation is the file's frame n - 1.
class LottieWriter
{
public:
    // `name` names the composition, and each key's marker as the sprite
    // atlas names the key's tag.
    static std::string json(const Animation &animation, std::string_view caption, int zoom, const FrameStyle &style,
                            const std::string &name);
};

} // namespace zelbrook
