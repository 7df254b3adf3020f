// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "platform/png_packer.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zelbrook {

// Pictures as file content, in any format Qt can write ("bmp", "png"). A
// PNG of a picture without transparency is written by the program's own
// PNG writer, packed fast and in the smallest type that holds its
// colours: grey levels, else a palette of up to 256 colours, else
// truecolour; it decodes to every pixel of the picture. A writer keeps its
// compressor from one picture to the next; it is for one thread at a time.
class PictureWriter
{
public:
    // The encoded picture; empty when the picture is null or the format
    // cannot be written.
    QByteArray encode(const QImage &image, const char *format);
    // Encodes the picture and writes it with AtomicFile, so a failure leaves
    // an existing file as it was. Empty on success, else the reason.
    static Status save(const QImage &image, const QString &path, const char *format);

private:
    QByteArray encodePng(const QImage &image);

    PngPacker m_packer{PngPacker::Policy::Fast};
};

} // namespace zelbrook
