// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/figure.h"

#include <string_view>

namespace zelbrook {

static_assert(Exporter::kMinimumFittedSize == 16 && Exporter::kMaximumFittedSize == 3944,
              "the usage text below gives the size's range");
static_assert(kPenWidthRange.minimum == 1 && kPenWidthRange.maximum == 7 && kDefaultPenWidth == 2,
              "the usage text below gives the pen's range and default");

// What --help shows; the manual page is made from it, so it names every
// option with its range and default.
inline constexpr std::string_view kRenderUsage =
    "Usage: zelbrook-render [options] POSE OUTPUT\n"
    "       zelbrook-render [options] --default OUTPUT\n"
    "       zelbrook-render [options] --format FORMAT --output-dir DIR POSE...\n"
    "\n"
    "Draws the figure of a Zelbrook pose file as a picture or as data, and plays\n"
    "a Zelbrook animation, a scene of one or more figures, as an animated picture,\n"
    "a video or numbered frames.\n"
    "\n"
    "  POSE    a pose file (.zbk) or an animation (.zba), told apart by their\n"
    "          content, or - to read either from standard input\n"
    "  OUTPUT  the file to write, or - for standard output (needs --format);\n"
    "          its extension chooses the format: .bmp .png .svg .json .zbk\n"
    "          .gif .apng .webp .mp4 .webm .lottie.json .zba\n"
    "\n"
    "Options:\n"
    "  --default         draw the editor's start-up pose instead of a pose file\n"
    "  --format FORMAT   bmp, png, svg, json, zbk, gif, apng, webp, mp4, webm,\n"
    "                    sheet, lottie or zba (default: OUTPUT's extension)\n"
    "  --scale S         multiply every length of each figure by S, any finite\n"
    "                    number (default 1)\n"
    "  --rotate DEGREES  turn each figure counter-clockwise about its own hip, any\n"
    "                    finite number (default 0)\n"
    "  --pen PIXELS      every figure's pen width, 1 to 7 (default 2)\n"
    "  --zoom N          make a bmp or png picture N times as large, 1 to 8\n"
    "                    (default 1)\n"
    "  --size N          scale a bmp or png picture down to fit within N x N\n"
    "                    pixels, 16 to 3944, keeping its proportions (not with\n"
    "                    --zoom); file managers' thumbnails are made this way\n"
    "  --fps N           play an animation at N frames a second, 1 to 60 (gif: at\n"
    "                    most 50; default: the animation's own, or 12)\n"
    "  --columns N       frames across a sprite sheet (default: the squarest grid)\n"
    "  --transparent     a transparent background instead of white (png, svg,\n"
    "                    gif, apng, webp, sheet and lottie)\n"
    "  --trim            cut every frame to the figures of all frames with a\n"
    "                    2-pixel margin, without the credit line (bmp, png, svg,\n"
    "                    gif, apng, webp, sheet and lottie)\n"
    "  --atlas           with sheet, also write NAME.json beside it: each frame's\n"
    "                    place and time and a tag for each key, for game engines\n"
    "  --key N           draw key N (from 1) of an animation, all its figures, as\n"
    "                    bmp, png, svg, json or zbk\n"
    "  --figure ID       only the figure with that id of the key: the one figure a\n"
    "                    pose file (zbk) holds, needed for zbk of a key of several\n"
    "                    figures\n"
    "  --list-poses      print the poses of the editor's shelf, its own first, then\n"
    "                    the user's: a name, a tab and the file's path a line\n"
    "  --help            show this text and exit\n"
    "  --version         show the program's version and exit\n"
    "\n"
    "Many poses in one run:\n"
    "  --output-dir DIR  write each POSE to DIR/NAME.FORMAT, where NAME is the pose\n"
    "                    file's name without its last extension; DIR must exist,\n"
    "                    --format is needed, - is no POSE here, and two poses may\n"
    "                    not give one name; --default adds DIR/default.FORMAT\n"
    "  --list FILE       also render the pose files named in FILE, one a line\n"
    "                    (- reads the names from standard input)\n"
    "  --jobs N          render on N threads, 1 to 256 (default: one for each\n"
    "                    processor); the files are the same whatever N is\n"
    "  --quiet           no progress bar, and no summary when every pose is rendered\n"
    "                    (the bar is shown only when standard error is a terminal)\n"
    "\n"
    "Animations:\n"
    "  gif, apng and webp are animated pictures; mp4 and webm are videos made by\n"
    "  the ffmpeg program (on the PATH, or named by ZELBROOK_FFMPEG), never to\n"
    "  standard output; sheet is one png of every frame in a grid; lottie is a\n"
    "  Lottie animation (NAME.lottie.json) for web pages and apps, each figure\n"
    "  its layers with a keyframe at each key, in the key's ease, and a marker\n"
    "  at each key; json is the data of every frame; zba is the animation\n"
    "  file. A pose file in these formats is an animation of one key. An\n"
    "  animation of several keys is no\n"
    "  single bmp, png, svg or zbk: give --key, or --output-dir, which writes\n"
    "  its frames as DIR/NAME-0001.png and on. Every picture shows the frame's\n"
    "  figures, each in its colour; json of several figures gives each frame as\n"
    "  {\"figures\": [...]}, each with its id, name and colour. --scale multiplies\n"
    "  each figure's scale, --rotate turns it about its own hip, --pen replaces\n"
    "  its pen.\n"
    "\n"
    "Exit status: 0 done, 1 a pose could not be read or an output not written\n"
    "(with --output-dir, any one of them; the others are still rendered), 2 the\n"
    "command line is wrong.\n";

} // namespace zelbrook
