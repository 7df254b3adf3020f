// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/exporter.h"
#include "model/program_info.h"
#include "test_support.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPainter>

#include <algorithm>

namespace zelbrook::test {

// Pictures of the figure striding to the right, legs and arms swinging; a
// frame listed in `repeats` is the frame before it again.
inline QList<QImage> walkingFrames(int count, int zoom = 1, QList<int> repeats = {})
{
    Exporter exporter;
    QList<QImage> frames;
    for (int i = 0; i < count; ++i) {
        if (repeats.contains(i)) {
            frames.append(frames.last());
            continue;
        }
        Pose pose = startPose();
        pose.hipX += 6.0f * float(i);
        pose.lLegAngle1 += 0.2 * i;
        pose.rLegAngle1 -= 0.2 * i;
        pose.rArmAngle1 += 0.3 * i;
        frames.append(exporter.picture(Figure{pose, 2}, kProgramCaption, zoom).copy());
    }
    return frames;
}

inline QImage whiteFrame(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

inline constexpr QRgb kRed = 0xFFC03020;
inline constexpr QRgb kBlue = 0xFF2040C0;

// Two stick figures drawn without anti-aliasing, one red and one blue,
// `step` pixels apart from where they start, and the credit line's
// anti-aliased text in grey.
inline QImage twoFigureFrame(int step)
{
    QImage image = whiteFrame(QSize(493, 397));
    QPainter painter(&image);
    for (const auto &[colour, x] : {std::pair{kRed, 120 + step}, std::pair{kBlue, 360 - step}}) {
        painter.setPen(QPen(QColor(colour), 3));
        painter.drawEllipse(QPoint(x, 120), 14, 14);
        painter.drawPolyline(QPolygon({QPoint(x - 30, 300), QPoint(x, 134), QPoint(x + 25, 300)}));
    }
    painter.setPen(QColor(60, 60, 60));
    painter.drawText(QPoint(8, 385), "made with Zelbrook v0.1 by Quillfen");
    return image;
}

// The i-th of 300 colours that are not grey.
inline QRgb otherColour(int i) { return qRgb(40 + 2 * (i % 100), 200 - i % 100, 90 + 40 * (i / 100)); }

// White, `greys` distinct greys between black and white in one-pixel
// columns, and the first `colours` other colours in squares.
inline QImage manyColourFrame(int colours, int greys)
{
    QImage image = whiteFrame(QSize(300, 60));
    QPainter painter(&image);
    for (int i = 0; i < greys; ++i)
        painter.fillRect(20 + i, 0, 1, 20, QColor::fromHsv(0, 0, 1 + i * 253 / (greys - 1)));
    for (int i = 0; i < colours; ++i)
        painter.fillRect(i % 70 * 4, 24 + i / 70 * 4, 4, 4, QColor(otherColour(i)));
    return image;
}

// The frame with a filled rectangle of one colour.
inline QImage withRectangle(QImage frame, QRect area, QRgb colour)
{
    QPainter(&frame).fillRect(area, QColor(colour));
    return frame;
}

// Four colours in a pattern no code table holds for long; `seed` varies it.
inline QImage noiseFrame(QSize size, unsigned seed)
{
    QImage image(size, QImage::Format_RGB32);
    const QRgb colours[4] = {0xFFFFFFFF, 0xFF000000, kRed, kBlue};
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            seed = seed * 1103515245u + 12345u;
            image.setPixel(x, y, colours[(seed >> 16) & 3]);
        }
    return image;
}

// Noise, white in two corners, and then the same with red corners.
inline QList<QImage> noiseCornersTurningRed()
{
    const QRect corners[2] = {QRect(0, 0, 1, 1), QRect(119, 79, 1, 1)};
    const QImage noise =
        withRectangle(withRectangle(noiseFrame(QSize(120, 80), 7), corners[0], 0xFFFFFFFF), corners[1], 0xFFFFFFFF);
    return {noise, withRectangle(withRectangle(noise, corners[0], kRed), corners[1], kRed)};
}

// Black dots on white, and then white alone.
inline QList<QImage> dotsTurningWhite()
{
    QImage dots = whiteFrame(QSize(120, 80));
    for (int i = 0; i < 40; ++i)
        dots.setPixel(3 * i, 2 * i, 0xFF000000);
    return {dots, whiteFrame(QSize(120, 80))};
}

// A white picture, transparent but for a black square at `x` and a pixel
// of each of alphas 100 and 200 beside it.
inline QImage clearFrame(int x)
{
    QImage image(QSize(40, 20), QImage::Format_ARGB32);
    image.fill(0x00FFFFFFu);
    for (int y = 5; y < 10; ++y)
        for (int dx = 0; dx < 5; ++dx)
            image.setPixel(x + dx, y, 0xFF000000u);
    image.setPixel(x + 6, 5, 0x64C03020u);
    image.setPixel(x + 6, 6, 0xC82040C0u);
    return image;
}

// The picture as straight-alpha ARGB32, every pixel with alpha 0 as 0, so
// that equal pictures compare equal however a reader gives them.
inline QImage withAlpha(const QImage &picture)
{
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    if (picture.hasAlphaChannel())
        for (int y = 0; y < image.height(); ++y) {
            QRgb *row = reinterpret_cast<QRgb *>(image.scanLine(y));
            std::replace_if(
                row, row + image.width(), [](QRgb pixel) { return qAlpha(pixel) == 0; }, 0);
        }
    return image;
}

// The lengths of `count` frames at `fps`, each ending at round(k * units / fps).
inline QList<qint64> frameLengths(qsizetype count, int fps, int units)
{
    QList<qint64> lengths;
    for (qsizetype k = 1; k <= count; ++k)
        lengths.append(qRound64(double(units) * double(k) / fps) - qRound64(double(units) * double(k - 1) / fps));
    return lengths;
}

inline ByteSink appendTo(QByteArray &bytes)
{
    return [&bytes](std::string_view more) {
        bytes.append(more.data(), qsizetype(more.size()));
        return Status{};
    };
}

// Every frame given in turn, then finish(); the first error on the way.
inline Status encodeAll(AnimationEncoder &encoder, const QList<QImage> &frames)
{
    for (const QImage &frame : frames)
        if (Status added = encoder.addFrame(frame); !added)
            return added;
    return encoder.finish();
}

} // namespace zelbrook::test
