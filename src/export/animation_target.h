// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/animation_exporter.h"
#include "export/sprite_atlas.h"
#include "model/animation.h"
#include "model/result.h"
#include "platform/output_stream.h"

#include <string>

namespace zelbrook {

// Where and how one animation is written: an animated picture or a video,
// the motion data of every frame, or an animation file. Both programs write
// an animation this way. Nothing is left behind by a refused, failed or
// stopped output.
struct AnimationTarget {
    enum class Kind { Animated, AnimationFile, Json };
    Kind kind = Kind::Animated;
    AnimatedFormat format = AnimatedFormat::Gif; // for Kind::Animated
    int zoom = 1;
    int sheetColumns = 0; // 0: the squarest grid
    // Pictures on a transparent background instead of white.
    bool transparent = false;
    // Every frame cut to the one rectangle that TrimArea finds.
    bool trim = false;
    // A sprite sheet's atlas, written to atlasPath(path); the sheet and the
    // atlas take their places together or not at all.
    bool atlas = false;
    // A sprite sheet's pixels between cells and its cells' edges repeated
    // outward, as SheetLayout takes them.
    int sheetPadding = 0;
    int sheetExtrude = 0;

    // To the named file (bytes, need not be UTF-8), or standard output when
    // path is empty; a video, which the ffmpeg program writes itself, only
    // to a file. Running out of memory is a failure like any other. The
    // error does not name the output.
    Status write(const Animation &animation, const std::string &path,
                 const AnimationExporter::FrameDone &frameDone = {}) const;

private:
    Result<FrameStyle> frameStyle(const Animation &animation) const;
    AnimationOutput output(ByteSink sink, const std::string &path) const;
    SpriteAtlas::Sheet atlasSheet(const std::string &path, const FrameStyle &style, std::string pngStart) const;
    Status writeSheetAndAtlas(const Animation &animation, const std::string &path, const FrameStyle &style,
                              const AnimationExporter::FrameDone &frameDone) const;
    Status writeOut(const Animation &animation, const std::string &path,
                    const AnimationExporter::FrameDone &frameDone) const;
};

// Where a sprite sheet's atlas goes: beside the sheet, named as the sheet
// without its last extension, with ".json".
std::string atlasPath(const std::string &sheetPath);

// The output's NAME, which names the frames and tags of a sprite atlas and
// the markers of a Lottie file: its file name without the last extension,
// and without ".lottie" before it ("walk" for walk.png and walk.lottie.json).
std::string outputName(const std::string &path);

// The text of an animation file, refused with the reason when it would not
// read back, such as one whose scale was multiplied past what a file may
// hold.
Result<std::string> checkedAnimationFileText(const Animation &animation);

} // namespace zelbrook
