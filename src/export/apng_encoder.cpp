// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/apng_encoder.h"

#include "platform/png_writer.h"

#include <algorithm>

namespace zelbrook {

namespace {

constexpr std::uint8_t kDisposeNone = 0;
constexpr std::uint8_t kDisposeBackground = 1;
constexpr std::uint8_t kDisposePrevious = 2;
constexpr std::uint8_t kBlendSource = 0;
constexpr std::uint8_t kBlendOver = 1;

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
        chooseFormat(frame);
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
    QByteArray control;
    PngWriter::appendBigEndian(control, m_written);
    PngWriter::appendBigEndian(control, m_timing.loop ? 0u : 1u); // number of plays, 0 for ever
    PngWriter writer(m_format, m_packer, m_sink);
    Status written = writer.writeHeader();
    if (written)
        written = writer.writeChunk("acTL", control);
    if (written)
        written = m_sink(std::string_view(m_frames.constData(), std::size_t(m_frames.size())));
    if (written)
        written = writer.writeEnd();
    m_frames.clear();
    return written;
}

// The palette holds the first frame's colours, then the exact colours it
// lacks, which later frames may bring, and a transparent entry when there
// is room; entries that are not opaque come first, to keep tRNS short. A
// grey image holds only those greys, so that a level none of them has can
// stand for transparency.
void ApngEncoder::chooseFormat(const QImage &frame)
{
    using Pixels = PngFormat::Pixels;
    std::vector<QRgb> exact;
    for (const QRgb rgb : m_exact.colours)
        exact.push_back(rgb | 0xFF000000u);
    const PictureColours found = pictureColours(frame, exact);
    m_format.size = frame.size();
    if (!found.fits) {
        m_format.pixels = found.alpha ? Pixels::TruecolourAlpha : Pixels::Truecolour;
    } else if (!found.alpha && found.grey) {
        m_format.pixels = Pixels::Grey;
        m_format.colours = found.palette.colours();
        for (int level = 0; level < 256 && m_transparent < 0; ++level)
            if (found.palette.find(qRgb(level, level, level)) < 0)
                m_transparent = level;
        m_format.transparentGrey = m_transparent;
    } else {
        m_format.pixels = Pixels::Indexed;
        m_format.colours = found.transparentFirst(true);
        const auto clear = std::find(m_format.colours.begin(), m_format.colours.end(), 0u);
        if (clear != m_format.colours.end())
            m_transparent = int(clear - m_format.colours.begin());
    }
    m_pixels.emplace(m_format);
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
    std::optional<std::vector<std::uint8_t>> rows = rowsOf(picture, area);
    if (!rows)
        return false;
    std::vector<std::vector<std::uint8_t>> ways{std::move(*rows)};
    if (m_written > 0 && m_transparent >= 0)
        if (std::optional<std::vector<std::uint8_t>> over = overRows(ways[0], picture, area))
            ways.push_back(std::move(*over));
    const int pixelBytes = m_format.bytesPerPixel();
    const PngPacker::Packed best = m_packer.pack(ways, area.width() * pixelBytes, area.height(), pixelBytes);
    if (best.bytes.empty())
        return false;
    const std::uint8_t blend = best.choice == 0 ? kBlendSource : kBlendOver;
    QByteArray control;
    PngWriter::appendBigEndian(control, m_sequence++);
    for (const int value : {area.width(), area.height(), area.left(), area.top()})
        PngWriter::appendBigEndian(control, std::uint32_t(value));
    appendShort(control, int(frames));
    appendShort(control, m_timing.fps);
    control.append(char(dispose));
    control.append(char(blend));
    PngWriter::appendChunk(m_frames, "fcTL", control);
    QByteArray data;
    if (m_written > 0)
        PngWriter::appendBigEndian(data, m_sequence++);
    data.append(reinterpret_cast<const char *>(best.bytes.data()), qsizetype(best.bytes.size()));
    if (m_written == 0)
        PngWriter::appendChunk(m_frames, "IDAT", data);
    else
        PngWriter::appendChunk(m_frames, "fdAT", data);
    ++m_written;
    return true;
}

// The area's pixels in the image's bytes, each row after a byte for its
// filter type; nothing when a colour has no byte.
std::optional<std::vector<std::uint8_t>> ApngEncoder::rowsOf(const QImage &picture, QRect area)
{
    const std::size_t stride = std::size_t(area.width()) * std::size_t(m_format.bytesPerPixel()) + 1;
    std::vector<std::uint8_t> rows(stride * std::size_t(area.height()));
    const bool opaque = picture.format() == QImage::Format_RGB32;
    for (int y = 0; y < area.height(); ++y)
        if (!m_pixels->pack(row(picture, area.top() + y) + area.left(), area.width(),
                            rows.data() + std::size_t(y) * stride + 1, opaque))
            return std::nullopt;
    return rows;
}

// The rows of a picture of one byte a pixel with each unchanged pixel
// transparent. Nothing when a changed pixel is not opaque, as the frame
// before would show through it.
std::optional<std::vector<std::uint8_t>> ApngEncoder::overRows(std::vector<std::uint8_t> rows, const QImage &picture,
                                                               QRect area) const
{
    const std::size_t stride = std::size_t(area.width()) + 1;
    for (int y = 0; y < area.height(); ++y) {
        const QRgb *is = row(picture, area.top() + y) + area.left();
        const QRgb *was = row(m_canvas, area.top() + y) + area.left();
        std::uint8_t *bytes = rows.data() + std::size_t(y) * stride + 1;
        for (int x = 0; x < area.width(); ++x) {
            const QRgb argb = pixelOf(is[x]);
            if (argb == pixelOf(was[x]))
                bytes[x] = std::uint8_t(m_transparent);
            else if (qAlpha(argb) != 255)
                return std::nullopt;
        }
    }
    return rows;
}

} // namespace zelbrook
