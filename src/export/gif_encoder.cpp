// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_encoder.h"

#include "export/gif_image_coder.h"
#include "export/gif_lzw.h"

#include <cstring>

namespace zelbrook {

namespace {

constexpr int kLeaveInPlace = 1;
constexpr int kRestoreBackground = 2;

void appendShort(std::vector<std::uint8_t> &out, std::int64_t value)
{
    out.push_back(std::uint8_t(value));
    out.push_back(std::uint8_t(value >> 8));
}

void appendColours(std::vector<std::uint8_t> &out, const std::vector<QRgb> &colours, int entries)
{
    for (int i = 0; i < entries; ++i) {
        const QRgb rgb = i < int(colours.size()) ? colours[std::size_t(i)] : 0;
        out.insert(out.end(), {std::uint8_t(qRed(rgb)), std::uint8_t(qGreen(rgb)), std::uint8_t(qBlue(rgb))});
    }
}

// The size bits of a table's flags: entries = 2 << bits.
std::uint8_t sizeBits(int entries)
{
    std::uint8_t bits = 0;
    while ((2 << bits) < entries)
        ++bits;
    return bits;
}

// The rectangle of the pixels drawn now that are not drawn in the next frame.
QRect clearedArea(const QImage &now, const QImage &next)
{
    QRect cleared;
    for (int y = 0; y < now.height(); ++y) {
        const auto *is = reinterpret_cast<const QRgb *>(now.constScanLine(y));
        const auto *will = reinterpret_cast<const QRgb *>(next.constScanLine(y));
        for (int x = 0; x < now.width(); ++x)
            if (qAlpha(is[x]) != 0 && will[x] == 0)
                cleared |= QRect(x, y, 1, 1);
    }
    return cleared;
}

// Below half covered a pixel is not drawn (0); above, drawn opaque.
QImage drawnPixels(const QImage &frame)
{
    QImage drawn = withStraightAlpha(frame);
    if (!drawn.hasAlphaChannel())
        return drawn;
    for (int y = 0; y < drawn.height(); ++y) {
        auto *pixels = reinterpret_cast<QRgb *>(drawn.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x)
            pixels[x] = qAlpha(pixels[x]) >= 128 ? pixels[x] | 0xFF000000u : 0;
    }
    return drawn;
}

} // namespace

GifEncoder::GifEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_exact(std::move(exact))
{}

Status GifEncoder::checkRate(int fps)
{
    if (fps > kMaximumRate)
        return Error{"A GIF cannot play more than 50 frames a second; apng, webp, mp4 and webm can."};
    return {};
}

Status GifEncoder::encodeFrame(const QImage &input)
{
    const Result<QImage> checked = checkedFrame(input, m_canvas.size(), m_timing);
    if (!checked)
        return checked.error();
    if (Status rate = checkRate(m_timing.fps); !rate)
        return rate;
    const QImage frame = drawnPixels(input);
    if (m_canvas.isNull())
        if (Status started = start(frame); !started)
            return started;
    if (const std::optional<FrameRun> done = m_runs.add(frame))
        return writeRun(*done, &frame);
    return {};
}

Status GifEncoder::complete()
{
    if (Status some = checkHasFrames(m_runs.frames()); !some)
        return some;
    if (Status written = writeRun(*m_runs.finish(), nullptr); !written)
        return written;
    m_out.push_back(0x3B); // trailer
    return send();
}

// The header, the global table and, when the animation loops, the block
// that makes it play for ever.
Status GifEncoder::start(const QImage &frame)
{
    Result<GifColourTable> global = firstTable(frame, frame.rect(), m_exact);
    if (!global)
        return global.error();
    m_global = std::move(global).value();
    const bool clearPixels = frame.hasAlphaChannel();
    m_globalEntries = 2;
    while (m_globalEntries < int(m_global->colours().size()) + (clearPixels ? 1 : 0))
        m_globalEntries *= 2;
    m_globalEntries = std::min(m_globalEntries, 256);
    m_canvas = QImage(frame.size(), QImage::Format_ARGB32);
    m_canvas.fill(0);
    const char *header = "GIF89a";
    m_out.insert(m_out.end(), header, header + 6);
    appendShort(m_out, frame.width());
    appendShort(m_out, frame.height());
    m_out.insert(m_out.end(), {std::uint8_t(0xF0 | sizeBits(m_globalEntries)), 0, 0});
    appendColours(m_out, m_global->colours(), m_globalEntries);
    if (m_timing.loop) {
        const char *loop = "\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00";
        m_out.insert(m_out.end(), loop, loop + 19);
    }
    return {};
}

// The run's picture with its time; when the next frame leaves pixels
// undrawn, its rectangle also covers them and is cleared after its time.
Status GifEncoder::writeRun(const FrameRun &run, const QImage *next)
{
    QRect area = changedArea(m_canvas, run.picture);
    const QRect cleared = next ? clearedArea(run.picture, *next) : QRect();
    area |= cleared;
    if (area.isEmpty())
        area = QRect(0, 0, 1, 1);
    Result<GifImage> image = codeImage(run.picture, m_canvas, area, *m_global, m_globalEntries, m_exact);
    if (!image)
        return image.error();
    const std::int64_t delay = frameEnd(run.end, m_timing.fps, 100) - frameEnd(run.first, m_timing.fps, 100);
    const std::vector<std::int64_t> pieces = splitLength(delay, kLongestDelay);
    const int disposal = cleared.isEmpty() ? kLeaveInPlace : kRestoreBackground;
    appendControl(pieces[0], image->transparent, pieces.size() == 1 ? disposal : kLeaveInPlace);
    appendImage(*image);
    // A still longer than one delay goes on in images that draw nothing.
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        GifImage nothing;
        nothing.area = area;
        nothing.transparent = 0;
        const std::vector<std::uint8_t> none(std::size_t(area.width()) * std::size_t(area.height()), 0);
        nothing.code = lzwCode(none.data(), none.size(), nothing.codeSize);
        appendControl(pieces[i], 0, i + 1 == pieces.size() ? disposal : kLeaveInPlace);
        appendImage(nothing);
    }
    copyArea(run.picture, area, m_canvas, area.topLeft());
    if (!cleared.isEmpty())
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memset(m_canvas.scanLine(y) + 4 * area.left(), 0, 4 * std::size_t(area.width()));
    return send();
}

void GifEncoder::appendControl(std::int64_t delay, int transparent, int disposal)
{
    m_out.insert(m_out.end(), {0x21, 0xF9, 4, std::uint8_t(disposal << 2 | (transparent >= 0 ? 1 : 0))});
    appendShort(m_out, delay);
    m_out.insert(m_out.end(), {std::uint8_t(std::max(transparent, 0)), 0});
}

void GifEncoder::appendImage(const GifImage &image)
{
    m_out.push_back(0x2C);
    for (const int value : {image.area.left(), image.area.top(), image.area.width(), image.area.height()})
        appendShort(m_out, value);
    const bool local = !image.localColours.empty();
    m_out.push_back(local ? std::uint8_t(0x80 | sizeBits(image.localEntries())) : 0);
    if (local)
        appendColours(m_out, image.localColours, image.localEntries());
    appendImageData(m_out, image.code, image.codeSize);
}

Status GifEncoder::send()
{
    Status sent = m_sink(std::string_view(reinterpret_cast<const char *>(m_out.data()), m_out.size()));
    m_out.clear();
    return sent;
}

} // namespace zelbrook
