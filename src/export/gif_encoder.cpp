// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_encoder.h"

#include <gif_lib.h>

#include <cstring>
#include <optional>

namespace zelbrook {

namespace {

using ColourMap = std::unique_ptr<ColorMapObject, void (*)(ColorMapObject *)>;

constexpr int kMaximumGifRate = 50;

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

// A GIF colour table has a power of two entries; those after the colours
// and the spare index stay black and unused.
ColourMap colourMap(const GifColourTable &table)
{
    const std::vector<QRgb> &colours = table.colours();
    int entries = 2;
    while (entries < int(colours.size()) + (table.transparent() >= 0 ? 1 : 0))
        entries *= 2;
    ColourMap map(GifMakeMapObject(entries, nullptr), GifFreeMapObject);
    if (!map)
        return map;
    std::memset(map->Colors, 0, sizeof(GifColorType) * static_cast<std::size_t>(entries));
    for (std::size_t index = 0; index < colours.size(); ++index) {
        const QRgb rgb = colours[index];
        map->Colors[index] = GifColorType{GifByteType(qRed(rgb)), GifByteType(qGreen(rgb)), GifByteType(qBlue(rgb))};
    }
    return map;
}

// The colour index of every pixel of the area, row by row; with a previous
// frame and a spare index, a pixel that did not change is transparent.
// False when the table lacks a colour of the area, even one of a pixel that
// did not change.
bool indicesOf(const QImage &frame, const QImage *previous, QRect area, const GifColourTable &table,
               const ExactColours &exact, std::vector<unsigned char> &indices)
{
    indices.resize(static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height()));
    unsigned char *out = indices.data();
    const bool clear = previous && table.transparent() >= 0;
    const auto transparent = static_cast<unsigned char>(table.transparent());
    QRgb last = 0xFFFFFFFFu; // no colour once the alpha byte is masked off
    int index = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *is = row(frame, y);
        const QRgb *was = clear ? row(*previous, y) : nullptr;
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((is[x] & 0x00FFFFFFu) != last) {
                last = is[x] & 0x00FFFFFFu;
                index = table.indexOf(last, exact);
                if (index < 0)
                    return false;
            }
            *out++ = clear && is[x] == was[x] ? transparent : static_cast<unsigned char>(index);
        }
    }
    return true;
}

} // namespace

GifEncoder::GifEncoder(AnimationTiming timing, ByteSink sink, ExactColours exact)
    : m_timing(timing)
    , m_sink(std::move(sink))
    , m_exact(std::move(exact))
{}

GifEncoder::~GifEncoder()
{
    if (m_gif) {
        m_discarding = true;
        int error = 0;
        EGifCloseFile(m_gif, &error);
    }
}

Status GifEncoder::checkRate(int fps)
{
    if (fps > kMaximumGifRate)
        return Error{"A GIF cannot play more than 50 frames a second; apng, webp, mp4 and webm can."};
    return {};
}

Status GifEncoder::encodeFrame(const QImage &input)
{
    const Result<QImage> frame = checkedFrame(input, m_previous.size(), m_timing);
    if (!frame)
        return frame.error();
    const QRect area = m_frames == 0 ? frame->rect() : changedArea(m_previous, *frame);
    Status status = m_frames == 0 ? start(*frame) : writeFrame(*frame, area);
    if (!status)
        return m_written = status;
    if (m_frames == 0)
        m_previous = frame->copy();
    else if (!area.isEmpty())
        copyArea(*frame, area, m_previous, area.topLeft());
    ++m_frames;
    return {};
}

Status GifEncoder::complete()
{
    if (Status some = checkHasFrames(m_frames); !some)
        return m_written = some;
    int error = 0;
    const int closed = EGifCloseFile(std::exchange(m_gif, nullptr), &error);
    if (closed != GIF_OK)
        return failure(error);
    return m_written;
}

int GifEncoder::writeBytes(GifFileType *gif, const unsigned char *bytes, int length)
{
    auto *self = static_cast<GifEncoder *>(gif->UserData);
    if (self->m_discarding || !self->m_written)
        return 0;
    self->m_written = self->m_sink(std::string_view(reinterpret_cast<const char *>(bytes), std::size_t(length)));
    return self->m_written ? length : 0;
}

Status GifEncoder::start(const QImage &frame)
{
    if (Status rate = checkRate(m_timing.fps); !rate)
        return rate;
    Result<GifColourTable> global = tableOf(frame, frame.rect());
    if (!global)
        return global.error();
    m_global = std::move(global).value();
    int error = 0;
    m_gif = EGifOpen(this, writeBytes, &error);
    if (!m_gif)
        return failure(error);
    EGifSetGifVersion(m_gif, true);
    const ColourMap map = colourMap(*m_global);
    if (!map || EGifPutScreenDesc(m_gif, frame.width(), frame.height(), 8, 0, map.get()) != GIF_OK)
        return failure(m_gif->Error);
    if (m_timing.loop) {
        // Played over and over: the loop count 0 means for ever.
        const GifByteType endless[3] = {1, 0, 0};
        if (EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) != GIF_OK
            || EGifPutExtensionBlock(m_gif, 11, "NETSCAPE2.0") != GIF_OK
            || EGifPutExtensionBlock(m_gif, 3, endless) != GIF_OK || EGifPutExtensionTrailer(m_gif) != GIF_OK)
            return failure(m_gif->Error);
    }
    indicesOf(frame, nullptr, frame.rect(), *m_global, m_exact, m_indices);
    if (Status control = writeControl(-1); !control)
        return control;
    if (EGifPutImageDesc(m_gif, 0, 0, frame.width(), frame.height(), false, nullptr) != GIF_OK
        || EGifPutLine(m_gif, m_indices.data(), static_cast<int>(m_indices.size())) != GIF_OK)
        return failure(m_gif->Error);
    return {};
}

// An unchanged frame still needs an image to carry its delay: one pixel,
// transparent or the same colour again.
Status GifEncoder::writeFrame(const QImage &frame, QRect changed)
{
    const QRect area = changed.isEmpty() ? QRect(0, 0, 1, 1) : changed;
    std::optional<GifColourTable> local;
    if (!indicesOf(frame, &m_previous, area, *m_global, m_exact, m_indices)) {
        Result<GifColourTable> own = tableOf(frame, area);
        if (!own)
            return own.error();
        local = std::move(own).value();
        indicesOf(frame, &m_previous, area, *local, m_exact, m_indices);
    }
    const GifColourTable &table = local ? *local : *m_global;
    const ColourMap map = local ? colourMap(*local) : ColourMap(nullptr, GifFreeMapObject);
    if (local && !map)
        return failure(E_GIF_ERR_NOT_ENOUGH_MEM);
    if (Status control = writeControl(table.transparent()); !control)
        return control;
    if (EGifPutImageDesc(m_gif, area.left(), area.top(), area.width(), area.height(), false, map.get()) != GIF_OK
        || EGifPutLine(m_gif, m_indices.data(), static_cast<int>(m_indices.size())) != GIF_OK)
        return failure(m_gif->Error);
    return {};
}

Result<GifColourTable> GifEncoder::tableOf(const QImage &frame, QRect area) const
{
    std::optional<GifColourTable> table = GifColourTable::of(frame, area, m_exact);
    if (!table)
        return Error{"The frame has more colours than a GIF can hold: over 256 even with the colours that need not "
                     "be exact within 16 levels of their own."};
    return std::move(*table);
}

// The frame's delay and transparent index, and "leave in place" so that the
// next frame is drawn over this one.
Status GifEncoder::writeControl(int transparent)
{
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime =
        static_cast<int>(frameEnd(m_frames + 1, m_timing.fps, 100) - frameEnd(m_frames, m_timing.fps, 100));
    control.TransparentColor = transparent;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK)
        return failure(m_gif->Error);
    return {};
}

Status GifEncoder::failure(int giflibError)
{
    if (!m_written)
        return m_written;
    const char *reason = GifErrorString(giflibError);
    return m_written = Error{std::string("The GIF could not be written: ") + (reason ? reason : "unknown error") + "."};
}

} // namespace zelbrook
