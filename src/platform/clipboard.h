// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QImage>
#include <QString>

#include <optional>

namespace zelbrook {

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
};

} // namespace zelbrook
