// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/apng_encoder.h"

#include "platform/png_chunks.h"

#include <limits>
#include <optional>

namespace zelbrook {

namespace {

constexpr std::uint8_t kDisposeNone = 0;
constexpr std::uint8_t kBlendSource = 0;

void appendShort(QByteArray &out, int value)
{
    out.append(char(value >> 8));
    out.append(char(value));
}

QByteArray animationControl(const AnimationTiming &timing)
{
    QByteArray data;
    PngChunks::appendBigEndian(data, static_cast<std::uint32_t>(timing.frameCount));
    PngChunks::appendBigEndian(data, timing.loop ? 0u : 1u); // number of plays, 0 for ever
    return data;
}

QByteArray frameControl(std::uint32_t sequence, QRect area, int fps)
{
    QByteArray data;
    PngChunks::appendBigEndian(data, sequence);
    for (const int value : {area.width(), area.height(), area.left(), area.top()})
        PngChunks::appendBigEndian(data, static_cast<std::uint32_t>(value));
    appendShort(data, 1);
    appendShort(data, fps);
    data.append(char(kDisposeNone));
    data.append(char(kBlendSource));
    return data;
}

} // namespace

ApngEncoder::ApngEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_exact(std::move(exact))
{}

Status ApngEncoder::encodeFrame(const QImage &input)
{
    if (m_frames >= m_timing.frameCount)
        return Error{"The animation has more frames than it was started with."};
    const Result<QImage> frame = checkedFrame(input, m_previous.size(), m_timing);
    if (!frame)
        return frame.error();
    QRect area = m_frames == 0 ? frame->rect() : changedArea(m_previous, *frame);
    if (area.isEmpty())
        area = QRect(0, 0, 1, 1); // a frame needs at least one pixel; this one is the same again
    const QByteArray chunks = frameChunks(*frame, area);
    if (chunks.isEmpty())
        return Error{"The frame has a colour that is neither in the first frame nor among the animation's colours."};
    if (Status sent = send(chunks); !sent)
        return sent;
    if (m_frames == 0)
        m_previous = frame->copy();
    else
        copyArea(*frame, area, m_previous, area.topLeft());
    ++m_frames;
    return {};
}

Status ApngEncoder::complete()
{
    if (Status counted = checkFrameCount(m_frames, m_timing); !counted)
        return counted;
    QByteArray end;
    PngChunks::appendChunk(end, "IEND", {});
    return send(end);
}

// The first frame also opens the file; it is the picture that a program
// without animation shows.
QByteArray ApngEncoder::frameChunks(const QImage &frame, QRect area)
{
    if (m_frames == 0)
        chooseType(frame);
    const std::optional<QByteArrayView> data = imageData(frame, area);
    if (!data)
        return {};
    QByteArray out;
    if (m_frames == 0) {
        out.append("\x89PNG\r\n\x1a\n", 8);
        PngChunks::appendChunk(out, "IHDR", PngChunks::header(frame.size(), m_type));
        if (m_type == PngChunks::kPaletteType)
            PngChunks::appendChunk(out, "PLTE", PngChunks::paletteEntries(m_palette.colours()));
        PngChunks::appendChunk(out, "acTL", animationControl(m_timing));
    }
    PngChunks::appendChunk(out, "fcTL", frameControl(m_sequence++, area, m_timing.fps));
    if (m_frames == 0) {
        PngChunks::appendChunk(out, "IDAT", *data);
        return out;
    }
    QByteArray numbered;
    numbered.reserve(data->size() + 4);
    PngChunks::appendBigEndian(numbered, m_sequence++);
    numbered.append(data->data(), data->size());
    PngChunks::appendChunk(out, "fdAT", numbered);
    return out;
}

// The palette holds the first frame's colours in the order they appear, then
// the exact colours it lacks, which later frames may bring.
void ApngEncoder::chooseType(const QImage &frame)
{
    bool fits = m_palette.addColoursOf(frame, frame.rect());
    for (const QRgb rgb : m_exact.colours)
        fits = fits && m_palette.add(rgb & 0x00FFFFFFu) >= 0;
    if (!fits)
        m_type = PngChunks::kTruecolourType;
    else
        m_type = m_palette.allGrey() ? PngChunks::kGreyType : PngChunks::kPaletteType;
}

std::optional<QByteArrayView> ApngEncoder::imageData(const QImage &frame, QRect area) const
{
    if (m_type == PngChunks::kGreyType)
        return PngChunks::greyData(frame, area);
    if (m_type == PngChunks::kPaletteType)
        return PngChunks::imageData(frame, area, [this](QRgb rgb) { return m_palette.find(rgb); });
    return PngChunks::truecolourData(frame, area);
}

Status ApngEncoder::send(const QByteArray &bytes)
{
    return m_sink(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace zelbrook
