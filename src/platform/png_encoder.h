// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>

namespace zelbrook {

// A fast, lossless PNG for pictures of few colours, such as the figures':
// grey levels become an 8-bit grey image, up to 256 colours an 8-bit
// palette image and more an 8-bit truecolour image, compressed at a fast
// setting. Decoded, it gives back every pixel of the picture exactly.
class PngEncoder
{
public:
    // The PNG file; empty when the picture is null or has an alpha channel,
    // which this encoder leaves to others.
    static QByteArray encode(const QImage &image);
};

} // namespace zelbrook
