#include "platform/picture_writer.h"

#include "platform/atomic_file.h"

#include <QBuffer>
#include <QImageWriter>

namespace zelbrook {

QByteArray PictureWriter::encode(const QImage &image, const char *format)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return {};
    return bytes;
}

std::optional<QString> PictureWriter::save(const QImage &image, const QString &path, const char *format)
{
    const QByteArray bytes = encode(image, format);
    if (bytes.isEmpty())
        return QStringLiteral("The picture could not be converted to %1.").arg(QString::fromLatin1(format).toUpper());
    return AtomicFile::write(path, bytes);
}

} // namespace zelbrook
