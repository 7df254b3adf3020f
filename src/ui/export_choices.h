// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_target.h"
#include "model/animation.h"

#include <QString>

#include <optional>

class QWidget;

namespace zelbrook {

// What an animation's export writes, as the command line's options say it:
// the format, the frame rate and loop (the animation's own unless chosen),
// a transparent background, trimmed frames, the zoom, and a sprite sheet's
// columns, atlas, padding and repeated edges. The choices last for the run.
struct ExportChoices {
    AnimatedFormat format = AnimatedFormat::Gif;
    std::optional<int> fps;
    std::optional<bool> loop;
    bool transparent = false;
    bool trim = false;
    int zoom = 1;
    int columns = 0; // 0: the squarest grid
    bool atlas = false;
    // A sprite sheet's pixels between cells, and its cells' edges repeated.
    int padding = 0;
    int extrude = 0;

    // The animation as the export writes it.
    Animation applied(const Animation &animation) const;
    AnimationTarget target() const;
    // Whether the format can hold a transparent background, trimmed frames,
    // columns and an atlas.
    bool takesTransparency() const;
    bool isSheet() const { return format == AnimatedFormat::Sheet; }

    // The file dialog's filter of the format, and its extension.
    QString filter() const;
    QString extension() const;

    // Asks for the choices in a dialog that starts from `current`; nothing
    // when the user cancels.
    static std::optional<ExportChoices> ask(QWidget *parent, const ExportChoices &current, const Playback &animation);
};

} // namespace zelbrook
