// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "platform/png_format.h"
#include "platform/png_packer.h"
#include "platform/png_pixels.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace zelbrook {

// Writes one PNG file into a stream of bytes: the signature and the chunks
// that describe the image (IHDR, then PLTE and tRNS as its format needs),
// the chunks its caller adds, the pixel rows as the packer packs them, each
// piece of their stream an IDAT chunk, and the end.
class PngWriter
{
public:
    using Sink = std::function<Status(std::string_view bytes)>;

    // The packer is used for this image only while the writer lives.
    PngWriter(const PngFormat &format, PngPacker &packer, Sink sink);

    Status writeHeader();
    Status writeChunk(const char (&type)[5], QByteArrayView data);
    // Rows `from` up to `to` (one past the last) of the picture, whose width
    // is the image's. A streamed image needs its header written before its
    // rows, an indexed image that gathers its colours after them.
    Status writeRows(const QImage &picture, int from, int to);
    // Ends the rows, every one of which must have been written.
    Status finishRows();
    Status writeEnd();

    static void appendBigEndian(QByteArray &out, std::uint32_t value);
    static void appendChunk(QByteArray &out, const char (&type)[5], QByteArrayView data);

private:
    QByteArray palette() const;
    Status writeData(std::span<const std::uint8_t> bytes);

    PngFormat m_format;
    PngPacker &m_packer;
    Sink m_sink;
    PngPixels m_pixels;
    std::vector<std::uint8_t> m_row;
    int m_rowsWritten = 0;
};

} // namespace zelbrook
