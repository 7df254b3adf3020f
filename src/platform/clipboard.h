#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace zelbrook {

// The system clipboard, written with a picture and nothing else.
class Clipboard
{
public:
    // Clears every format on the clipboard and puts the picture there alone.
    // Empty on success, else what went wrong in plain words.
    static std::optional<QString> setPicture(const QImage &image);
};

} // namespace zelbrook
