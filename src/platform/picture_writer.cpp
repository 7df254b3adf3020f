// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_writer.h"

#include "platform/atomic_file.h"
#include "platform/png_writer.h"

#include <QBuffer>
#include <QImageWriter>

namespace zelbrook {

namespace {

// The picture's resolution, as Qt's own writer records it.
QByteArray physicalSize(const QImage &image)
{
    QByteArray data;
    PngWriter::appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterX()));
    PngWriter::appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterY()));
    data.append(char(1)); // metres
    return data;
}

} // namespace

QByteArray PictureWriter::encode(const QImage &image, const char *format)
{
    if (image.isNull())
        return {};
    // Pictures with transparency take Qt's own writer.
    if (qstrcmp(format, "png") == 0 && !image.hasAlphaChannel())
        if (QByteArray png = encodePng(image); !png.isEmpty())
            return png;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image))
        return {};
    return bytes;
}

// Grey levels are tried first, as the figure's pictures have only those; a
// palette holds the colours in the order the rows bring them.
QByteArray PictureWriter::encodePng(const QImage &source)
{
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    for (const PngFormat::Pixels pixels :
         {PngFormat::Pixels::Grey, PngFormat::Pixels::Indexed, PngFormat::Pixels::Truecolour}) {
        QByteArray png;
        PngWriter writer({image.size(), pixels}, m_packer, [&png](std::string_view bytes) {
            png.append(bytes.data(), qsizetype(bytes.size()));
            return Status{};
        });
        if (!writer.writeRows(image, 0, image.height()))
            continue;
        const bool written = writer.writeHeader()
                             && (image.dotsPerMeterX() <= 0 || image.dotsPerMeterY() <= 0
                                 || writer.writeChunk("pHYs", physicalSize(image)))
                             && writer.finishRows() && writer.writeEnd();
        return written ? png : QByteArray();
    }
    return {};
}

Status PictureWriter::save(const QImage &image, const QString &path, const char *format)
{
    const QByteArray bytes = PictureWriter().encode(image, format);
    if (bytes.isEmpty())
        return Error{"The picture could not be converted to " + QString::fromLatin1(format).toUpper().toStdString()
                     + "."};
    return AtomicFile::write(path, bytes);
}

} // namespace zelbrook
