// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "animation_frames.h"

#include <QProcess>
#include <QtEndian>

#include <gif_lib.h>
#include <webp/demux.h>

#include <cstring>

namespace zelbrook::test {

// An animation as its format's own reader shows it: each picture written,
// straight-alpha ARGB32 as withAlpha() gives it, for how many units of
// 1/unitsPerSecond seconds it shows, and how many times it plays (0: for
// ever).
struct ReadAnimation {
    QList<QImage> pictures;
    QList<qint64> lengths;
    int unitsPerSecond = 0;
    int plays = -1;
};

// A GIF as giflib's reader gives it: every image drawn over the one before on
// a transparent screen, as a viewer shows it, and whether each image uses its
// transparent index.
struct ReadGif {
    ReadAnimation animation;
    QList<bool> transparency;
};

// The plays of a GIF whose first image is `image`: once without the loop
// block, else as many as it says, 0 being for ever.
inline int gifPlays(const SavedImage &image)
{
    for (int i = 0; i + 1 < image.ExtensionBlockCount; ++i) {
        const ExtensionBlock &block = image.ExtensionBlocks[i];
        const ExtensionBlock &count = image.ExtensionBlocks[i + 1];
        if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11
            && std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && count.ByteCount == 3)
            return count.Bytes[1] | count.Bytes[2] << 8;
    }
    return 1;
}

inline ReadGif readGif(const QByteArray &bytes)
{
    TemporaryFolder folder;
    ReadGif read{{{}, {}, 100}, {}};
    QFile file(folder.path("walk.gif"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return read;
    int error = 0;
    GifFileType *gif = DGifOpenFileName(qPrintable(file.fileName()), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK)
        return read;
    QImage canvas(gif->SWidth, gif->SHeight, QImage::Format_ARGB32);
    canvas.fill(0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage &image = gif->SavedImages[i];
        const GifImageDesc &desc = image.ImageDesc;
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        bool transparency = false;
        for (int y = 0; y < desc.Height; ++y)
            for (int x = 0; x < desc.Width; ++x)
                if (const int index = image.RasterBits[y * desc.Width + x]; index != control.TransparentColor)
                    canvas.setPixel(desc.Left + x, desc.Top + y,
                                    qRgb(map->Colors[index].Red, map->Colors[index].Green, map->Colors[index].Blue));
                else
                    transparency = true;
        read.animation.pictures.append(canvas.copy());
        read.animation.lengths.append(control.DelayTime);
        read.transparency.append(transparency);
        if (control.DisposalMode == DISPOSE_BACKGROUND)
            for (int y = 0; y < desc.Height; ++y)
                for (int x = 0; x < desc.Width; ++x)
                    canvas.setPixel(desc.Left + x, desc.Top + y, 0);
    }
    read.animation.plays = gif->ImageCount > 0 ? gifPlays(gif->SavedImages[0]) : -1;
    DGifCloseFile(gif, &error);
    return read;
}

inline quint32 bigEndian(const QByteArray &data, int at) { return qFromBigEndian<quint32>(data.constData() + at); }

// A PNG's chunks, their types and contents, in order.
inline QList<QPair<QByteArray, QByteArray>> pngChunks(const QByteArray &png)
{
    QList<QPair<QByteArray, QByteArray>> chunks;
    for (int at = 8; at + 12 <= png.size(); at += int(bigEndian(png, at)) + 12)
        chunks.append({png.mid(at + 4, 4), png.mid(at + 8, int(bigEndian(png, at)))});
    return chunks;
}

// The pictures as ffmpeg's own APNG decoder shows them, one each rather than
// as many as its time base would repeat them; their times and plays as the
// frame and animation control chunks give them. A frame whose time is
// counted in other units than the first frame's has a length of -1.
inline ReadAnimation readApng(const QByteArray &apng)
{
    ReadAnimation read;
    QSize size;
    for (const auto &[type, data] : pngChunks(apng)) {
        if (type == "IHDR")
            size = QSize(int(bigEndian(data, 0)), int(bigEndian(data, 4)));
        if (type == "acTL")
            read.plays = int(bigEndian(data, 4));
        if (type != "fcTL")
            continue;
        const int units = qFromBigEndian<quint16>(data.constData() + 22);
        read.unitsPerSecond = read.unitsPerSecond ? read.unitsPerSecond : units;
        read.lengths.append(units == read.unitsPerSecond ? qFromBigEndian<quint16>(data.constData() + 20) : -1);
    }
    TemporaryFolder folder;
    writeFile(folder.path("walk.apng"), apng);
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-v", "error", "-i", folder.path("walk.apng"), "-fps_mode", "passthrough", "-f",
                            "rawvideo", "-pix_fmt", "rgba", "-"});
    ffmpeg.waitForFinished(-1);
    const QByteArray pixels = ffmpeg.readAllStandardOutput();
    const qsizetype pictureBytes = qsizetype(size.width()) * size.height() * 4;
    for (qsizetype at = 0; pictureBytes > 0 && at + pictureBytes <= pixels.size(); at += pictureBytes)
        read.pictures.append(withAlpha(QImage(reinterpret_cast<const uchar *>(pixels.constData() + at), size.width(),
                                              size.height(), QImage::Format_RGBA8888)));
    return read;
}

// libwebp's own decoder's pictures.
inline ReadAnimation readWebp(const QByteArray &bytes)
{
    ReadAnimation read{{}, {}, 1000};
    const WebPData data{reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())};
    WebPAnimDecoderOptions options;
    WebPAnimDecoderOptionsInit(&options);
    options.color_mode = MODE_RGBA;
    WebPAnimDecoder *decoder = WebPAnimDecoderNew(&data, &options);
    WebPAnimInfo info;
    if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info))
        return read;
    read.plays = int(info.loop_count);
    uint8_t *pixels = nullptr;
    int end = 0;
    for (int start = 0; WebPAnimDecoderGetNext(decoder, &pixels, &end); start = end) {
        read.pictures.append(
            withAlpha(QImage(pixels, int(info.canvas_width), int(info.canvas_height), QImage::Format_RGBA8888)));
        read.lengths.append(end - start);
    }
    WebPAnimDecoderDelete(decoder);
    return read;
}

inline ReadAnimation readAnimation(AnimatedFormat format, const QByteArray &bytes)
{
    switch (format) {
    case AnimatedFormat::Gif:
        return readGif(bytes).animation;
    case AnimatedFormat::Apng:
        return readApng(bytes);
    default:
        return readWebp(bytes);
    }
}

} // namespace zelbrook::test
