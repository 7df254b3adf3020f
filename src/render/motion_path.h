// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "canvas.h"
#include "model/animation.h"
#include "model/joint_drag.h"

#include <vector>

namespace zelbrook {

// Green, apart from the red and blue of the keys before and after and from
// the blue rings.
inline constexpr Color kMotionPathColor = 0x109A40;
// Dots across, in pixels: one for each frame, a larger one for each key.
inline constexpr int kPathFrameDot = 3;
inline constexpr int kPathKeyDot = 7;

// Where a joint stands in one frame, in canvas units.
struct PathDot {
    Point at;
    // The frame shows a key rather than an in-between.
    bool key = false;
    // The frame before it shows the figure too, so a line leads here.
    bool joined = false;

    friend bool operator==(const PathDot &, const PathDot &) = default;
};

// The way one joint of one figure goes through the frames of an animation:
// a dot for each frame that shows the figure, in playing order, a key's
// hold counted once.
struct MotionPath {
    std::vector<PathDot> dots;
    // The animation loops and its last frame and its first both show the
    // figure, so a line leads from the last dot back to the first.
    bool closed = false;
    // Where the dots of each key's frames begin, and past the last key
    // where they end.
    std::vector<std::size_t> keyStarts;
};

MotionPath traceMotionPath(const Animation &animation, FigureId figure, Joint joint);

// Works out again the dots that a change of key `key`'s figures moves: the
// in-betweens that lead to the key, the key's own dot and the in-betweens
// that lead from it. False when the change shows the figure in more frames
// or fewer, and the whole path must be traced again.
bool retraceAroundKey(MotionPath &path, const Animation &animation, FigureId figure, Joint joint, std::size_t key);

// A one-pixel line through the dots, then a small dot on each in-between and
// a larger one on each key, all in kMotionPathColor, over whatever the
// canvas holds. The pen is left at the key dots' width.
void drawMotionPath(const MotionPath &path, Canvas &canvas);

} // namespace zelbrook
