// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_row_writer.h"

#include "platform/colour_palette.h"
#include "platform/png_chunks.h"

#include <QByteArray>

#include <zlib.h>

#include <algorithm>

namespace zelbrook {

namespace {

constexpr std::size_t kChunkBytes = 256 * 1024;

int bytesPerPixel(PngRowWriter::Pixels pixels)
{
    switch (pixels) {
    case PngRowWriter::Pixels::Grey:
    case PngRowWriter::Pixels::Indexed:
        return 1;
    case PngRowWriter::Pixels::GreyAlpha:
        return 2;
    case PngRowWriter::Pixels::Truecolour:
        return 3;
    case PngRowWriter::Pixels::TruecolourAlpha:
        break;
    }
    return 4;
}

std::uint8_t colourType(PngRowWriter::Pixels pixels)
{
    constexpr std::uint8_t kTypes[] = {0, 4, 2, 6, 3};
    return kTypes[static_cast<int>(pixels)];
}

std::string_view viewOf(const QByteArray &bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

} // namespace

PngRowWriter::PngRowWriter(QSize size, Pixels pixels, Sink sink, const std::vector<QRgb> &palette)
    : m_size(size)
    , m_pixels(pixels)
    , m_sink(std::move(sink))
    , m_row(1 + static_cast<std::size_t>(std::max(0, size.width())) * bytesPerPixel(pixels))
    , m_compressed(kChunkBytes)
    , m_zlib(std::make_unique<z_stream_s>())
{
    if (pixels == Pixels::Indexed) {
        m_palette = std::make_unique<ColourPalette>();
        for (const QRgb argb : palette)
            m_palette->add(argb);
    }
    // As the still pictures: a fast level that suits long runs of one colour.
    m_ready = deflateInit2(m_zlib.get(), 1, Z_DEFLATED, 15, 9, Z_RLE) == Z_OK;
}

PngRowWriter::~PngRowWriter()
{
    if (m_ready)
        deflateEnd(m_zlib.get());
}

Status PngRowWriter::start()
{
    if (!m_ready)
        return Error{"There is not enough memory to compress the picture."};
    QByteArray head("\x89PNG\r\n\x1a\n", 8);
    PngChunks::appendChunk(head, "IHDR", PngChunks::header(m_size, colourType(m_pixels)));
    if (m_palette) {
        const std::vector<QRgb> &colours = m_palette->colours();
        PngChunks::appendChunk(head, "PLTE", PngChunks::paletteEntries(colours));
        QByteArray alphas;
        for (std::size_t i = 0; i < colours.size() && qAlpha(colours[i]) != 255; ++i)
            alphas.append(static_cast<char>(qAlpha(colours[i])));
        if (!alphas.isEmpty())
            PngChunks::appendChunk(head, "tRNS", alphas);
    }
    m_started = true;
    return m_sink(viewOf(head));
}

Status PngRowWriter::writeRows(const QImage &rows, int from, int to)
{
    if (!m_started)
        if (Status started = start(); !started)
            return started;
    if (rows.width() != m_size.width() || to - from > m_size.height() - m_rowsWritten)
        return Error{"The rows do not fit the picture."};
    const QImage pixels = rows.format() == QImage::Format_ARGB32 || rows.format() == QImage::Format_RGB32
                              ? rows
                              : rows.convertToFormat(QImage::Format_ARGB32);
    for (int y = from; y < to; ++y) {
        if (Status packed = packRow(reinterpret_cast<const QRgb *>(pixels.constScanLine(y))); !packed)
            return packed;
        ++m_rowsWritten;
        if (Status deflated = deflateRow(Z_NO_FLUSH); !deflated)
            return deflated;
    }
    return {};
}

// Grey and indexed rows take filter none, as runs of one byte compress well
// as they are; colour rows take sub, which turns a run of one colour into
// zeros.
Status PngRowWriter::packRow(const QRgb *row)
{
    std::uint8_t *out = m_row.data() + 1;
    const int width = m_size.width();
    const int step = bytesPerPixel(m_pixels);
    QRgb last = 1; // no pixel: alpha 0 is always looked up as 0
    int index = -1;
    for (int x = 0; x < width; ++x) {
        const QRgb p = row[x];
        if (m_palette) {
            if (p != last) {
                last = p;
                index = m_palette->find(qAlpha(p) == 0 ? 0 : p);
            }
            if (index < 0)
                return Error{"The picture has a colour that is not in its palette."};
            *out++ = static_cast<std::uint8_t>(index);
            continue;
        }
        if (m_pixels == Pixels::Grey || m_pixels == Pixels::GreyAlpha) {
            if (!isGrey(p))
                return Error{"The picture has a colour where only grey levels were expected."};
            *out++ = static_cast<std::uint8_t>(qRed(p));
            if (m_pixels == Pixels::GreyAlpha)
                *out++ = static_cast<std::uint8_t>(qAlpha(p));
            continue;
        }
        *out++ = static_cast<std::uint8_t>(qRed(p));
        *out++ = static_cast<std::uint8_t>(qGreen(p));
        *out++ = static_cast<std::uint8_t>(qBlue(p));
        if (m_pixels == Pixels::TruecolourAlpha)
            *out++ = static_cast<std::uint8_t>(qAlpha(p));
    }
    const bool sub = step >= 3;
    m_row[0] = sub ? 1 : 0;
    if (sub)
        for (std::size_t i = m_row.size() - 1; i > static_cast<std::size_t>(step); --i)
            m_row[i] = static_cast<std::uint8_t>(m_row[i] - m_row[i - step]);
    return {};
}

// Each full buffer of compressed bytes is one IDAT chunk; the end sends
// what is left.
Status PngRowWriter::deflateRow(int flush)
{
    const bool finishing = flush == Z_FINISH;
    m_zlib->next_in = finishing ? nullptr : m_row.data();
    m_zlib->avail_in = finishing ? 0 : static_cast<uInt>(m_row.size());
    for (;;) {
        m_zlib->next_out = m_compressed.data() + m_filled;
        m_zlib->avail_out = static_cast<uInt>(m_compressed.size() - m_filled);
        const int result = deflate(m_zlib.get(), flush);
        if (result == Z_STREAM_ERROR)
            return Error{"The picture could not be compressed."};
        m_filled = m_compressed.size() - m_zlib->avail_out;
        const bool full = m_zlib->avail_out == 0;
        const bool ended = finishing && result == Z_STREAM_END;
        if (full || (ended && m_filled > 0)) {
            const std::string_view bytes(reinterpret_cast<const char *>(m_compressed.data()), m_filled);
            if (Status written = writeChunk("IDAT", bytes); !written)
                return written;
            m_filled = 0;
        }
        if (ended || (!finishing && !full && m_zlib->avail_in == 0))
            return {};
    }
}

Status PngRowWriter::writeChunk(const char (&type)[5], std::string_view data)
{
    QByteArray chunk;
    chunk.reserve(static_cast<qsizetype>(data.size()) + 12);
    PngChunks::appendChunk(chunk, type, QByteArrayView(data.data(), static_cast<qsizetype>(data.size())));
    return m_sink(viewOf(chunk));
}

Status PngRowWriter::finish()
{
    if (m_rowsWritten != m_size.height())
        return Error{"The picture ends before its last row."};
    if (Status deflated = deflateRow(Z_FINISH); !deflated)
        return deflated;
    return writeChunk("IEND", {});
}

} // namespace zelbrook
