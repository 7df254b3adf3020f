#include "platform/png_encoder.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zelbrook {

namespace {

constexpr int kMaximumColours = 256;
constexpr std::uint8_t kGreyType = 0;
constexpr std::uint8_t kPaletteType = 3;

// The picture's colours, in order of first appearance, each with its index.
// An open-addressed table of twice the largest palette keeps a lookup to a
// probe or two.
class Palette
{
public:
    Palette() { m_slots.fill(kEmpty); }

    // The colour's index, or -1 once a colour past the 256th turns up.
    int indexOf(QRgb rgb)
    {
        std::uint32_t slot = (rgb * 2654435761u) >> (32 - kSlotBits);
        for (;;) {
            const std::uint32_t entry = m_slots[slot];
            if (entry == kEmpty)
                break;
            if (m_colours[entry] == rgb)
                return static_cast<int>(entry);
            slot = (slot + 1) & (kSlots - 1);
        }
        if (m_colours.size() == kMaximumColours)
            return -1;
        m_slots[slot] = static_cast<std::uint32_t>(m_colours.size());
        m_colours.push_back(rgb);
        return static_cast<int>(m_colours.size() - 1);
    }

    const std::vector<QRgb> &colours() const { return m_colours; }

private:
    static constexpr int kSlotBits = 9;
    static constexpr std::uint32_t kSlots = 1u << kSlotBits;
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    std::array<std::uint32_t, kSlots> m_slots;
    std::vector<QRgb> m_colours;
};

bool isGrey(QRgb rgb) { return qRed(rgb) == qGreen(rgb) && qGreen(rgb) == qBlue(rgb); }

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
int runEnd(const QRgb *row, int from, int width, QRgb colour)
{
    while (from + 4 <= width
           && (((row[from] ^ colour) | (row[from + 1] ^ colour) | (row[from + 2] ^ colour) | (row[from + 3] ^ colour))
               & 0x00FFFFFFu)
                  == 0)
        from += 4;
    while (from < width && (row[from] & 0x00FFFFFFu) == colour)
        ++from;
    return from;
}

// Every row as PNG filter type 0 (none) followed by one byte a pixel, which
// `byteOf` gives for each colour; it is asked again only when the colour
// changes, which along a row of this kind of picture is rare. False when
// `byteOf` refuses a colour (a negative value).
template <typename ByteOf>
bool writeRows(const QImage &image, std::vector<std::uint8_t> &rows, ByteOf byteOf)
{
    const int width = image.width();
    rows.resize(static_cast<std::size_t>(width + 1) * static_cast<std::size_t>(image.height()));
    std::uint8_t *out = rows.data();
    QRgb last = 0xFFFFFFFFu; // no colour once the alpha byte is masked off
    std::uint8_t lastByte = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
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

void appendBigEndian(QByteArray &out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char (&type)[5], QByteArrayView data)
{
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data.data(), data.size());
    const auto *checked = reinterpret_cast<const Bytef *>(out.constData() + start);
    appendBigEndian(out, static_cast<std::uint32_t>(crc32(crc32(0, nullptr, 0), checked, uInt(out.size() - start))));
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

QByteArray header(const QImage &image, std::uint8_t colourType)
{
    QByteArray data;
    appendBigEndian(data, static_cast<std::uint32_t>(image.width()));
    appendBigEndian(data, static_cast<std::uint32_t>(image.height()));
    const char rest[5] = {8, char(colourType), 0, 0, 0}; // depth, type, deflate, filters, no interlace
    data.append(rest, 5);
    return data;
}

QByteArray paletteEntries(const std::vector<QRgb> &colours)
{
    QByteArray data;
    for (const QRgb rgb : colours) {
        const char entry[3] = {char(qRed(rgb)), char(qGreen(rgb)), char(qBlue(rgb))};
        data.append(entry, 3);
    }
    return data;
}

// The picture's resolution, as Qt's own writer records it.
QByteArray physicalSize(const QImage &image)
{
    QByteArray data;
    appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterX()));
    appendBigEndian(data, static_cast<std::uint32_t>(image.dotsPerMeterY()));
    data.append(char(1)); // metres
    return data;
}

} // namespace

QByteArray PngEncoder::encode(const QImage &source)
{
    if (source.isNull() || source.hasAlphaChannel())
        return {};
    const QImage image =
        source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    // Grey levels are tried first, as the figure's pictures have only those.
    Workspace &workspace = threadWorkspace();
    Palette palette;
    const bool grey = writeRows(image, workspace.rows, [](QRgb rgb) { return isGrey(rgb) ? qBlue(rgb) : -1; });
    if (!grey && !writeRows(image, workspace.rows, [&palette](QRgb rgb) { return palette.indexOf(rgb); }))
        return {};
    if (!compress(workspace))
        return {};
    const QByteArrayView idat(workspace.compressed.data(), static_cast<qsizetype>(workspace.compressed.size()));

    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png.reserve(idat.size() + 3 * kMaximumColours + 128);
    appendChunk(png, "IHDR", header(image, grey ? kGreyType : kPaletteType));
    if (!grey)
        appendChunk(png, "PLTE", paletteEntries(palette.colours()));
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0)
        appendChunk(png, "pHYs", physicalSize(image));
    appendChunk(png, "IDAT", idat);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace zelbrook
