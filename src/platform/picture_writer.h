// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace zelbrook {

// Pictures as file content, in any format Qt can write ("bmp", "png").
class PictureWriter
{
public:
    // The encoded picture; empty when the picture is null or the format
    // cannot be written.
    static QByteArray encode(const QImage &image, const char *format);
    // Encodes the picture and writes it with AtomicFile, so a failure leaves
    // an existing file as it was. Empty on success, else the reason.
    static Status save(const QImage &image, const QString &path, const char *format);
};

} // namespace zelbrook
