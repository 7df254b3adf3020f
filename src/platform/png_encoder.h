// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

namespace zelbrook {

// A fast, lossless PNG for pictures of few colours, such as the figure's:
// grey levels become an 8-bit grey image and up to 256 colours an 8-bit
// palette image, compressed at a fast setting. Decoded, it gives back every
// pixel of the picture exactly.
class PngEncoder
{
public:
    // The PNG file; empty when the picture is null, has an alpha channel or
    // holds more than 256 colours, which this encoder leaves to others.
    static QByteArray encode(const QImage &image);
};

} // namespace zelbrook
