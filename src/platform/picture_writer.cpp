// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_writer.h"

#include "platform/atomic_file.h"
#include "platform/png_encoder.h"

#include <QBuffer>
#include <QImageWriter>

namespace zelbrook {

QByteArray PictureWriter::encode(const QImage &image, const char *format)
{
    if (image.isNull())
        return {};
    // Pictures with transparency take Qt's own writer.
    if (qstrcmp(format, "png") == 0)
        if (QByteArray png = PngEncoder::encode(image); !png.isEmpty())
            return png;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return {};
    return bytes;
}

Status PictureWriter::save(const QImage &image, const QString &path, const char *format)
{
    const QByteArray bytes = encode(image, format);
    if (bytes.isEmpty())
        return Error{"The picture could not be converted to " + QString::fromLatin1(format).toUpper().toStdString()
                     + "."};
    return AtomicFile::write(path, bytes);
}

} // namespace zelbrook
