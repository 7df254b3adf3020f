// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/animation_encoder.h"
#include "export/exporter.h"
#include "model/program_info.h"
#include "test_support.h"

#include <QByteArray>
#include <QImage>
#include <QList>

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
