// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/png_chunks.h"

#include "platform/colour_palette.h"

#include <zlib.h>

#include <cstring>
#include <vector>

namespace zelbrook {

namespace {

// The memory a thread encodes with, kept from one picture to the next: a
// fresh compressor and fresh buffers for every picture would cost more than
// the compression.
struct Workspace {
    Workspace() { ready = deflateInit2(&stream, 1, Z_DEFLATED, 15, 9, Z_RLE) == Z_OK; }
    ~Workspace()
    {
        if (ready)
            deflateEnd(&stream);
    }
    Workspace(const Workspace &) = delete;
    Workspace &operator=(const Workspace &) = delete;

    z_stream stream{};
    bool ready = false;
    std::vector<std::uint8_t> rows;
    std::vector<std::uint8_t> compressed;
};

Workspace &threadWorkspace()
{
    thread_local Workspace workspace;
    return workspace;
}

// Where the run of one colour that goes on at `from` ends, looking at four
// pixels at a time while they all match.
int runEnd(const QRgb *row, int from, int end, QRgb colour)
{
    while (from + 4 <= end
           && (((row[from] ^ colour) | (row[from + 1] ^ colour) | (row[from + 2] ^ colour) | (row[from + 3] ^ colour))
               & 0x00FFFFFFu)
                  == 0)
        from += 4;
    while (from < end && (row[from] & 0x00FFFFFFu) == colour)
        ++from;
    return from;
}

// Every row as filter type 0 (none) followed by one byte a pixel; `byteOf`
// is asked again only when the colour changes, which along a row of this
// kind of picture is rare.
bool writeRows(const QImage &image, QRect area, std::vector<std::uint8_t> &rows, const PngChunks::ByteOf &byteOf)
{
    const int width = area.width();
    rows.resize(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(area.height()));
    std::uint8_t *out = rows.data();
    QRgb last = 0xFFFFFFFFu; // no colour once the alpha byte is masked off
    std::uint8_t lastByte = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y)) + area.left();
        *out++ = 0;
        for (int x = 0; x < width;) {
            const QRgb rgb = row[x] & 0x00FFFFFFu;
            if (rgb != last) {
                const int byte = byteOf(rgb);
                if (byte < 0)
                    return false;
                last = rgb;
                lastByte = static_cast<std::uint8_t>(byte);
            }
            const int end = runEnd(row, x + 1, width, last);
            std::memset(out + x, lastByte, static_cast<std::size_t>(end - x));
            x = end;
        }
        out += width;
    }
    return true;
}

// Every row as filter type 1 (sub): each byte less the same byte of the
// pixel before, so that a run of one colour becomes a run of zeros, which
// the run-length matches below find as they find runs of one grey.
void writeTruecolourRows(const QImage &image, QRect area, std::vector<std::uint8_t> &rows)
{
    const int width = area.width();
    rows.resize(static_cast<std::size_t>(3 * width + 1) * static_cast<std::size_t>(area.height()));
    std::uint8_t *out = rows.data();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y)) + area.left();
        *out++ = 1;
        QRgb before = 0;
        for (int x = 0; x < width; ++x) {
            const QRgb rgb = row[x];
            *out++ = static_cast<std::uint8_t>(qRed(rgb) - qRed(before));
            *out++ = static_cast<std::uint8_t>(qGreen(rgb) - qGreen(before));
            *out++ = static_cast<std::uint8_t>(qBlue(rgb) - qBlue(before));
            before = rgb;
        }
    }
}

// Level 1 with run-length matches only: the rows are long runs of white with
// short strokes, which this finds at a fraction of the default's time.
bool compress(Workspace &workspace)
{
    z_stream &stream = workspace.stream;
    if (!workspace.ready || deflateReset(&stream) != Z_OK)
        return false;
    workspace.compressed.resize(deflateBound(&stream, uLong(workspace.rows.size())));
    stream.next_in = workspace.rows.data();
    stream.avail_in = uInt(workspace.rows.size());
    stream.next_out = workspace.compressed.data();
    stream.avail_out = uInt(workspace.compressed.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END)
        return false;
    workspace.compressed.resize(stream.total_out);
    return true;
}

std::optional<QByteArrayView> compressedRows(Workspace &workspace)
{
    if (!compress(workspace))
        return std::nullopt;
    return QByteArrayView(workspace.compressed.data(), static_cast<qsizetype>(workspace.compressed.size()));
}

} // namespace

void PngChunks::appendBigEndian(QByteArray &out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void PngChunks::appendChunk(QByteArray &out, const char (&type)[5], QByteArrayView data)
{
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data.data(), data.size());
    const auto *checked = reinterpret_cast<const Bytef *>(out.constData() + start);
    appendBigEndian(out, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), checked, uInt(out.size() - start))));
}

QByteArray PngChunks::header(QSize size, std::uint8_t colourType)
{
    QByteArray data;
    appendBigEndian(data, static_cast<std::uint32_t>(size.width()));
    appendBigEndian(data, static_cast<std::uint32_t>(size.height()));
    const char rest[5] = {8, char(colourType), 0, 0, 0}; // depth, type, deflate, filters, no interlace
    data.append(rest, 5);
    return data;
}

QByteArray PngChunks::paletteEntries(const std::vector<QRgb> &colours)
{
    QByteArray data;
    for (const QRgb rgb : colours) {
        const char entry[3] = {char(qRed(rgb)), char(qGreen(rgb)), char(qBlue(rgb))};
        data.append(entry, 3);
    }
    return data;
}

std::optional<QByteArrayView> PngChunks::imageData(const QImage &image, QRect area, const ByteOf &byteOf)
{
    Workspace &workspace = threadWorkspace();
    if (!writeRows(image, area, workspace.rows, byteOf))
        return std::nullopt;
    return compressedRows(workspace);
}

std::optional<QByteArrayView> PngChunks::greyData(const QImage &image, QRect area)
{
    return imageData(image, area, [](QRgb rgb) { return isGrey(rgb) ? qBlue(rgb) : -1; });
}

std::optional<QByteArrayView> PngChunks::truecolourData(const QImage &image, QRect area)
{
    Workspace &workspace = threadWorkspace();
    writeTruecolourRows(image, area, workspace.rows);
    return compressedRows(workspace);
}

} // namespace zelbrook
