// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_writer.h"

#include <zlib.h>

#include <algorithm>

namespace zelbrook {

namespace {

std::string_view viewOf(const QByteArray &bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

} // namespace

PngWriter::PngWriter(const PngFormat &format, PngPacker &packer, Sink sink)
    : m_format(format)
    , m_packer(packer)
    , m_sink(std::move(sink))
    , m_pixels(format)
    , m_row(1 + std::size_t(std::max(0, format.size.width())) * std::size_t(format.bytesPerPixel()))
{
    m_packer.start();
}

void PngWriter::appendBigEndian(QByteArray &out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void PngWriter::appendChunk(QByteArray &out, const char (&type)[5], QByteArrayView data)
{
    appendBigEndian(out, std::uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data.data(), data.size());
    const auto *checked = reinterpret_cast<const Bytef *>(out.constData() + start);
    appendBigEndian(out, std::uint32_t(crc32(crc32(0, nullptr, 0), checked, uInt(out.size() - start))));
}

// The PLTE chunk of an indexed image, and a tRNS chunk with the alpha of
// its entries that are not opaque, which come first, or with a grey image's
// transparent level.
QByteArray PngWriter::palette() const
{
    QByteArray chunks;
    if (m_format.pixels == PngFormat::Pixels::Grey && m_format.transparentGrey >= 0) {
        QByteArray level(2, 0);
        level[1] = char(m_format.transparentGrey);
        appendChunk(chunks, "tRNS", level);
    }
    if (m_format.pixels != PngFormat::Pixels::Indexed)
        return chunks;
    const std::vector<QRgb> &colours = m_pixels.colours();
    QByteArray entries, alphas;
    for (const QRgb argb : colours) {
        const char entry[3] = {char(qRed(argb)), char(qGreen(argb)), char(qBlue(argb))};
        entries.append(entry, 3);
    }
    for (auto entry = colours.begin(); entry != colours.end() && qAlpha(*entry) != 255; ++entry)
        alphas.append(char(qAlpha(*entry)));
    appendChunk(chunks, "PLTE", entries);
    if (!alphas.isEmpty())
        appendChunk(chunks, "tRNS", alphas);
    return chunks;
}

Status PngWriter::writeHeader()
{
    QByteArray header;
    appendBigEndian(header, std::uint32_t(m_format.size.width()));
    appendBigEndian(header, std::uint32_t(m_format.size.height()));
    const char rest[5] = {8, char(m_format.colourType()), 0, 0, 0}; // depth, type, deflate, filters, no interlace
    header.append(rest, 5);
    QByteArray head("\x89PNG\r\n\x1a\n", 8);
    appendChunk(head, "IHDR", header);
    head.append(palette());
    return m_sink(viewOf(head));
}

Status PngWriter::writeChunk(const char (&type)[5], QByteArrayView data)
{
    QByteArray chunk;
    chunk.reserve(data.size() + 12);
    appendChunk(chunk, type, data);
    return m_sink(viewOf(chunk));
}

Status PngWriter::writeRows(const QImage &picture, int from, int to)
{
    if (picture.width() != m_format.size.width() || to - from > m_format.size.height() - m_rowsWritten)
        return Error{"The rows do not fit the picture."};
    const bool opaque = picture.format() == QImage::Format_RGB32;
    const QImage pixels =
        opaque || picture.format() == QImage::Format_ARGB32 ? picture : picture.convertToFormat(QImage::Format_ARGB32);
    const PngPacker::Piece idat = [this](std::span<const std::uint8_t> bytes) { return writeData(bytes); };
    for (int y = from; y < to; ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        if (!m_pixels.pack(row, pixels.width(), m_row.data() + 1, opaque))
            return Error{m_format.pixels == PngFormat::Pixels::Indexed || !m_format.colours.empty()
                             ? "The picture has a colour that is not in its palette."
                             : "The picture has a colour where only grey levels were expected."};
        if (Status packed = m_packer.packRow(m_row, m_format.bytesPerPixel(), idat); !packed)
            return packed;
        ++m_rowsWritten;
    }
    return {};
}

Status PngWriter::finishRows()
{
    if (m_rowsWritten != m_format.size.height())
        return Error{"The picture ends before its last row."};
    return m_packer.finish([this](std::span<const std::uint8_t> bytes) { return writeData(bytes); });
}

Status PngWriter::writeData(std::span<const std::uint8_t> bytes)
{
    return writeChunk("IDAT", QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

Status PngWriter::writeEnd() { return writeChunk("IEND", {}); }

} // namespace zelbrook
