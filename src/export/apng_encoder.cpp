// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/apng_encoder.h"

#include "platform/png_chunks.h"

#include <algorithm>
#include <cstring>

namespace zelbrook {

namespace {

constexpr std::uint8_t kDisposeNone = 0;
constexpr std::uint8_t kDisposeBackground = 1;
constexpr std::uint8_t kDisposePrevious = 2;
constexpr std::uint8_t kBlendSource = 0;
constexpr std::uint8_t kBlendOver = 1;
constexpr std::uint8_t kTruecolourAlphaType = 6;

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

void appendShort(QByteArray &out, int value)
{
    out.append(char(value >> 8));
    out.append(char(value));
}

// The frame's pixels, opaque ones as 0xFFrrggbb; a pixel with alpha 0 is 0.
QRgb pixelOf(QRgb argb) { return qAlpha(argb) == 0 ? 0 : argb; }

// The size of the change from one picture to another: its rectangle, in
// pixels.
std::int64_t changedPixels(const QImage &before, const QImage &after)
{
    const QRect area = changedArea(before, after);
    return std::int64_t(area.width()) * area.height();
}

} // namespace

ApngEncoder::ApngEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_exact(std::move(exact))
{}

Status ApngEncoder::encodeFrame(const QImage &input)
{
    if (m_runs.frames() >= m_timing.frameCount)
        return Error{"The animation has more frames than it was started with."};
    const Result<QImage> checked = checkedFrame(input, m_canvas.size(), m_timing);
    if (!checked)
        return checked.error();
    const QImage frame = withStraightAlpha(input);
    if (m_canvas.isNull()) {
        chooseType(frame);
        m_canvas = QImage(frame.size(), QImage::Format_ARGB32);
        m_canvas.fill(0);
    }
    if (const std::optional<FrameRun> done = m_runs.add(frame))
        return writeRun(*done, &frame);
    return {};
}

Status ApngEncoder::complete()
{
    if (Status counted = checkFrameCount(m_runs.frames(), m_timing); !counted)
        return counted;
    if (Status written = writeRun(*m_runs.finish(), nullptr); !written)
        return written;
    QByteArray out("\x89PNG\r\n\x1a\n", 8);
    PngChunks::appendChunk(out, "IHDR", PngChunks::header(m_canvas.size(), m_type));
    std::vector<QRgb> colours = m_palette.colours();
    if (m_type == PngChunks::kPaletteType) {
        PngChunks::appendChunk(out, "PLTE", PngChunks::paletteEntries(colours));
        QByteArray alphas;
        for (const QRgb argb : colours)
            if (qAlpha(argb) != 255)
                alphas.append(char(qAlpha(argb)));
        if (!alphas.isEmpty())
            PngChunks::appendChunk(out, "tRNS", alphas);
    } else if (m_type == PngChunks::kGreyType && m_transparent >= 0) {
        QByteArray key;
        appendShort(key, m_transparent);
        PngChunks::appendChunk(out, "tRNS", key);
    }
    QByteArray control;
    PngChunks::appendBigEndian(control, m_written);
    PngChunks::appendBigEndian(control, m_timing.loop ? 0u : 1u); // number of plays, 0 for ever
    PngChunks::appendChunk(out, "acTL", control);
    out.append(m_frames);
    PngChunks::appendChunk(out, "IEND", {});
    m_frames.clear();
    return m_sink(std::string_view(out.constData(), std::size_t(out.size())));
}

// The palette holds the first frame's colours, then the exact colours it
// lacks, which later frames may bring, and a transparent entry when there
// is room; entries that are not opaque come first, to keep tRNS short.
void ApngEncoder::chooseType(const QImage &frame)
{
    std::vector<QRgb> exact;
    for (const QRgb rgb : m_exact.colours)
        exact.push_back(rgb | 0xFF000000u);
    const PictureColours found = pictureColours(frame, exact);
    if (!found.fits) {
        m_type = found.alpha ? kTruecolourAlphaType : PngChunks::kTruecolourType;
        return;
    }
    if (!found.alpha && found.grey) {
        m_type = PngChunks::kGreyType;
        m_palette = found.palette;
        for (int level = 0; level < 256 && m_transparent < 0; ++level)
            if (m_palette.find(qRgb(level, level, level)) < 0)
                m_transparent = level;
        return;
    }
    m_type = PngChunks::kPaletteType;
    for (const QRgb argb : found.transparentFirst(true))
        m_palette.add(argb);
    m_transparent = m_palette.find(0);
}

// The run's rectangle, then, for a still longer than one frame's delay
// holds, one pixel again for each further piece of its time. Once its time
// is over, the run's area is left, cleared to transparent or put back as it
// was before, whichever leaves the least change to the next picture.
Status ApngEncoder::writeRun(const FrameRun &run, const QImage *next)
{
    const bool first = m_written == 0;
    QRect area = first ? m_canvas.rect() : changedArea(m_canvas, run.picture);
    if (area.isEmpty())
        area = QRect(0, 0, 1, 1);
    const std::vector<std::int64_t> pieces = splitLength(std::int64_t(run.end - run.first), kLongestRun);
    // Outside its area the run's picture is the canvas already.
    const QImage &after = run.picture;
    std::uint8_t dispose = kDisposeNone;
    QImage cleared;
    if (pieces.size() == 1 && next) {
        std::int64_t least = changedPixels(after, *next);
        const auto choose = [&least, &dispose, next](std::uint8_t way, const QImage &left) {
            if (const std::int64_t change = changedPixels(left, *next); change < least) {
                least = change;
                dispose = way;
            }
        };
        // Over an opaque next picture a cleared area must all be drawn
        // again, which never leaves less change than leaving it; the picture
        // before the first is nothing, which clearing gives.
        if (next->hasAlphaChannel()) {
            cleared = after.copy();
            for (int y = area.top(); y <= area.bottom(); ++y)
                std::fill_n(reinterpret_cast<QRgb *>(cleared.scanLine(y)) + area.left(), area.width(), 0u);
            choose(kDisposeBackground, cleared);
        }
        if (!first)
            choose(kDisposePrevious, m_canvas);
    }
    if (!appendFrame(run.picture, area, pieces[0], dispose))
        return Error{"The frame has a colour that is neither in the first frame nor among the animation's colours."};
    if (dispose == kDisposeNone)
        m_canvas = after;
    else if (dispose == kDisposeBackground)
        m_canvas = std::move(cleared);
    for (std::size_t i = 1; i < pieces.size(); ++i)
        if (!appendFrame(m_canvas, QRect(0, 0, 1, 1), pieces[i], kDisposeNone))
            return Error{"The APNG could not be compressed."};
    return {};
}

// One frame's fcTL and data chunks: the area as it is, or over the frame
// before with unchanged pixels transparent, whichever packs smaller.
bool ApngEncoder::appendFrame(const QImage &picture, QRect area, std::int64_t frames, std::uint8_t dispose)
{
    std::optional<std::vector<std::uint8_t>> pixels = pixelBytes(picture, area, false);
    if (!pixels)
        return false;
    std::vector<std::vector<std::uint8_t>> ways{std::move(*pixels)};
    if (m_written > 0 && m_transparent >= 0)
        if (std::optional<std::vector<std::uint8_t>> over = pixelBytes(picture, area, true))
            ways.push_back(std::move(*over));
    const PngRowPacker::Packed best = m_packer.pack(ways, area.width() * pixelSize(), area.height(), pixelSize());
    if (best.bytes.empty())
        return false;
    const std::uint8_t blend = best.choice == 0 ? kBlendSource : kBlendOver;
    QByteArray control;
    PngChunks::appendBigEndian(control, m_sequence++);
    for (const int value : {area.width(), area.height(), area.left(), area.top()})
        PngChunks::appendBigEndian(control, std::uint32_t(value));
    appendShort(control, int(frames));
    appendShort(control, m_timing.fps);
    control.append(char(dispose));
    control.append(char(blend));
    PngChunks::appendChunk(m_frames, "fcTL", control);
    QByteArray data;
    if (m_written > 0)
        PngChunks::appendBigEndian(data, m_sequence++);
    data.append(reinterpret_cast<const char *>(best.bytes.data()), qsizetype(best.bytes.size()));
    if (m_written == 0)
        PngChunks::appendChunk(m_frames, "IDAT", data);
    else
        PngChunks::appendChunk(m_frames, "fdAT", data);
    ++m_written;
    return true;
}

int ApngEncoder::pixelSize() const
{
    return m_type == PngChunks::kTruecolourType ? 3 : m_type == kTruecolourAlphaType ? 4 : 1;
}

// The area's pixels in the image type's bytes; with `over`, an unchanged
// pixel is transparent. Nothing when a colour has no byte, or, with `over`,
// when a changed pixel is not opaque and so would be blended.
std::optional<std::vector<std::uint8_t>> ApngEncoder::pixelBytes(const QImage &picture, QRect area, bool over) const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(std::size_t(area.width()) * std::size_t(area.height()) * std::size_t(pixelSize()));
    QRgb last = 1; // no pixel: alpha 0 is always stored as 0
    int byte = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *is = row(picture, y);
        const QRgb *was = row(m_canvas, y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb argb = pixelOf(is[x]);
            if (over && argb == pixelOf(was[x])) {
                bytes.push_back(std::uint8_t(m_transparent));
                continue;
            }
            if (over && qAlpha(argb) != 255)
                return std::nullopt;
            if (m_type == PngChunks::kTruecolourType || m_type == kTruecolourAlphaType) {
                bytes.insert(bytes.end(),
                             {std::uint8_t(qRed(argb)), std::uint8_t(qGreen(argb)), std::uint8_t(qBlue(argb))});
                if (m_type == kTruecolourAlphaType)
                    bytes.push_back(std::uint8_t(qAlpha(argb)));
                continue;
            }
            if (argb != last) {
                last = argb;
                byte = m_palette.find(argb);
                if (m_type == PngChunks::kGreyType && byte >= 0)
                    byte = qBlue(argb);
            }
            if (byte < 0)
                return std::nullopt;
            bytes.push_back(std::uint8_t(byte));
        }
    }
    return bytes;
}

} // namespace zelbrook
