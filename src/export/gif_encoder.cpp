// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/gif_encoder.h"

#include <gif_lib.h>

#include <bitset>
#include <cstring>
#include <optional>

namespace zelbrook {

namespace {

using GreyTable = GifEncoder::GreyTable;
using Greys = std::bitset<256>;
using ColourMap = std::unique_ptr<ColorMapObject, void (*)(ColorMapObject *)>;

constexpr int kMaximumGifRate = 50;

const QRgb *row(const QImage &image, int y) { return reinterpret_cast<const QRgb *>(image.constScanLine(y)); }

// The greys that occur in the area; nothing when a pixel there is not grey.
std::optional<Greys> greysIn(const QImage &frame, QRect area)
{
    Greys greys;
    QRgb last = 0xFFFFFFFFu;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *pixels = row(frame, y);
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb rgb = pixels[x] & 0x00FFFFFFu;
            if (rgb == last)
                continue;
            if (qRed(rgb) != qBlue(rgb) || qGreen(rgb) != qBlue(rgb))
                return std::nullopt;
            greys.set(static_cast<std::size_t>(qBlue(rgb)));
            last = rgb;
        }
    }
    return greys;
}

// The greys in ascending order, and after them the spare index that marks a
// transparent pixel.
GreyTable tableOf(const Greys &greys)
{
    GreyTable table;
    table.indexOf.fill(-1);
    for (int grey = 0; grey < 256; ++grey)
        if (greys.test(static_cast<std::size_t>(grey)))
            table.indexOf[static_cast<std::size_t>(grey)] = table.count++;
    table.transparent = table.count < 256 ? table.count : -1;
    return table;
}

bool covers(const GreyTable &table, const Greys &greys)
{
    for (std::size_t grey = 0; grey < 256; ++grey)
        if (greys.test(grey) && table.indexOf[grey] < 0)
            return false;
    return true;
}

// A GIF colour table has a power of two entries; those after the greys and
// the spare index stay black and unused.
ColourMap colourMap(const GreyTable &table)
{
    int entries = 2;
    while (entries < table.count + (table.transparent >= 0 ? 1 : 0))
        entries *= 2;
    ColourMap map(GifMakeMapObject(entries, nullptr), GifFreeMapObject);
    if (!map)
        return map;
    std::memset(map->Colors, 0, sizeof(GifColorType) * static_cast<std::size_t>(entries));
    for (int grey = 0; grey < 256; ++grey) {
        if (const int index = table.indexOf[static_cast<std::size_t>(grey)]; index >= 0) {
            const auto level = static_cast<GifByteType>(grey);
            map->Colors[index] = GifColorType{level, level, level};
        }
    }
    return map;
}

// The colour index of every pixel of the area, row by row; with a previous
// frame and a spare index, a pixel that did not change is transparent.
void indicesOf(const QImage &frame, const QImage *previous, QRect area, const GreyTable &table,
               std::vector<unsigned char> &indices)
{
    indices.resize(static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height()));
    unsigned char *out = indices.data();
    const bool clear = previous && table.transparent >= 0;
    const auto transparent = static_cast<unsigned char>(table.transparent);
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb *is = row(frame, y);
        const QRgb *was = clear ? row(*previous, y) : nullptr;
        for (int x = area.left(); x <= area.right(); ++x)
            *out++ = clear && is[x] == was[x] ? transparent
                                              : static_cast<unsigned char>(table.indexOf[std::size_t(qBlue(is[x]))]);
    }
}

Error notGrey() { return Error{"The frame has a colour that is not a grey."}; }

} // namespace

GifEncoder::GifEncoder(AnimationTiming timing, ByteSink sink)
    : m_timing(timing)
    , m_sink(std::move(sink))
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
    const std::optional<Greys> greys = greysIn(frame, frame.rect());
    if (!greys)
        return notGrey();
    m_global = tableOf(*greys);
    int error = 0;
    m_gif = EGifOpen(this, writeBytes, &error);
    if (!m_gif)
        return failure(error);
    EGifSetGifVersion(m_gif, true);
    const ColourMap map = colourMap(m_global);
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
    indicesOf(frame, nullptr, frame.rect(), m_global, m_indices);
    if (Status control = writeControl(-1); !control)
        return control;
    if (EGifPutImageDesc(m_gif, 0, 0, frame.width(), frame.height(), false, nullptr) != GIF_OK
        || EGifPutLine(m_gif, m_indices.data(), static_cast<int>(m_indices.size())) != GIF_OK)
        return failure(m_gif->Error);
    return {};
}

// An unchanged frame still needs an image to carry its delay: one pixel,
// transparent or the same grey again.
Status GifEncoder::writeFrame(const QImage &frame, QRect changed)
{
    const QRect area = changed.isEmpty() ? QRect(0, 0, 1, 1) : changed;
    const std::optional<Greys> greys = greysIn(frame, area);
    if (!greys)
        return notGrey();
    const bool global = covers(m_global, *greys);
    const GreyTable local = global ? GreyTable{} : tableOf(*greys);
    const GreyTable &table = global ? m_global : local;
    const ColourMap map = global ? ColourMap(nullptr, GifFreeMapObject) : colourMap(local);
    if (!global && !map)
        return failure(E_GIF_ERR_NOT_ENOUGH_MEM);
    indicesOf(frame, &m_previous, area, table, m_indices);
    if (Status control = writeControl(table.transparent); !control)
        return control;
    if (EGifPutImageDesc(m_gif, area.left(), area.top(), area.width(), area.height(), false, map.get()) != GIF_OK
        || EGifPutLine(m_gif, m_indices.data(), static_cast<int>(m_indices.size())) != GIF_OK)
        return failure(m_gif->Error);
    return {};
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
