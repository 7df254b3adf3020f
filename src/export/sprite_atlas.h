// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/sheet_layout.h"
#include "model/animation.h"

#include <QPoint>
#include <QSize>

#include <string>

namespace zelbrook {

// Where the frames of an animation lie in its sprite sheet, as the JSON
// array form of atlas that sprite editors write and game engines load:
// each frame's rectangle in the sheet, its time and its pivot; a tag for the
// whole animation and for each key with the frames it plays, and the same
// as PixiJS's "animations" by frame name; whether it loops, and the PNG's
// real type of pixels.
class SpriteAtlas
{
public:
    struct Sheet {
        std::string imageName; // the sheet's file name, as the atlas names it
        std::string frameStem; // frames are named frameStem-0001.png and on
        QSize cell;            // one frame in the sheet
        QSize source;          // the canvas the frames were cut from
        QPoint offset;         // where a cut frame lies on that canvas
        bool trimmed = false;
        SheetLayout layout;
        // The first bytes of the sheet's PNG, as far as its header's colour
        // type, which names the type of its pixels.
        std::string pngStart;
    };

    static std::string json(const Animation &animation, const Sheet &sheet);
    // The tag of key `key` (from 0) of the output named `stem`: "walk/key 1"
    // for walk.png; only "key 1" for an output without a name. Names taken
    // from the output keep the tags of two sheets apart in one engine.
    static std::string tagName(const std::string &stem, std::size_t key);
    // How long each frame shows, in whole milliseconds: each frame ends at
    // its exact time rounded, so the times add up to the animation's length.
    static std::vector<int> durations(std::size_t frameCount, int fps);
};

} // namespace zelbrook
