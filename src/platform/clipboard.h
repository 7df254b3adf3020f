// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QImage>
#include <QString>

#include <optional>

namespace zelbrook {

inline constexpr char kAnimationMimeType[] = "application/x-zelbrook-animation";

// The system clipboard, written with one thing at a time and nothing else.
class Clipboard
{
public:
    // Clears every format on the clipboard and puts the picture there alone.
    static Status setPicture(const QImage &image);
    // Clears every format on the clipboard and puts the text there alone.
    static Status setText(const QString &text);
    // The clipboard's plain text, or empty when it holds none.
    static std::optional<QString> text();
    // Clears every format on the clipboard and puts the text of an animation
    // file there, as its own type and as plain text, so that it pastes into
    // a text editor as well.
    static Status setAnimationText(const QString &text);
    // The animation text on the clipboard in its own type, else the plain
    // text; empty when it holds neither.
    static std::optional<QString> animationText();
};

} // namespace zelbrook
