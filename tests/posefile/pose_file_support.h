// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "posefile/pose_reader.h"

#include "test_support.h"

#include <QByteArrayList>
#include <QString>
#include <QTest>

namespace zelbrook {

// What a failed comparison prints.
inline char *toString(const Pose &pose)
{
    QString text = QString::asprintf("hip %.9g %.17g scale %.17g rotation %.17g head %d %.17g |", pose.hipX, pose.hipY,
                                     pose.scale, pose.rotation, pose.headRadius, pose.headWidth);
    for (double value : {pose.bodyLength, pose.bodyAngle, pose.legLength1, pose.legLength2, pose.lLegAngle1,
                         pose.lLegAngle2, pose.rLegAngle1, pose.rLegAngle2, pose.armLength1, pose.armLength2,
                         pose.lArmAngle1, pose.lArmAngle2, pose.rArmAngle1, pose.rArmAngle2})
        text += QString::asprintf(" %.17g", value);
    return qstrdup(text.toUtf8().constData());
}

} // namespace zelbrook

Q_DECLARE_METATYPE(zelbrook::Pose)

namespace zelbrook::test {

inline const QByteArray kDefaultText = "10135,35,1.5706806282722514,28,23,4.642233856893543,0.034904013961605584,"
                                       "5.148342059336824,-0.34904013961605584,20,20,2.268760907504363,"
                                       "1.6404886561954626,-2.268760907504363,0.5235602094240838,10,0.7\r\n";
inline const QByteArrayList kDefaultItems = kDefaultText.chopped(2).split(',');

inline Pose defaultPose() { return Pose::defaults(test::kCanvasWidth); }

// The pose a file is read over: every field differs from the defaults.
inline Pose currentPose()
{
    Pose pose = defaultPose();
    pose.hipX = 12.5f;
    pose.hipY = 300;
    pose.scale = 2.5;
    pose.rotation = -1;
    for (double *length : {&pose.bodyLength, &pose.legLength1, &pose.legLength2, &pose.armLength1, &pose.armLength2})
        *length = 60;
    for (double *angle : {&pose.bodyAngle, &pose.lLegAngle1, &pose.lLegAngle2, &pose.rLegAngle1, &pose.rLegAngle2,
                          &pose.lArmAngle1, &pose.lArmAngle2, &pose.rArmAngle2})
        *angle = 1;
    pose.rArmAngle1 = -1;
    pose.headRadius = 50;
    pose.headWidth = 1.2;
    return pose;
}

// `fileFields` with the fields that a pose file does not hold kept from the
// pose it was read over.
inline Pose readOverCurrent(Pose fileFields)
{
    const Pose current = currentPose();
    fileFields.hipX = current.hipX;
    fileFields.hipY = current.hipY;
    fileFields.scale = current.scale;
    fileFields.rotation = current.rotation;
    return fileFields;
}

inline QByteArray defaultFileWith(int itemNumber, const QByteArray &item)
{
    QByteArrayList items = kDefaultItems;
    items[itemNumber - 1] = item;
    return items.join(',') + "\r\n";
}

inline Result<Pose> read(const QByteArray &text)
{
    return readPoseFile(std::string_view(text.constData(), size_t(text.size())), currentPose());
}

} // namespace zelbrook::test
