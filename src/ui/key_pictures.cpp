// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_pictures.h"

#include "canvas_aids.h"
#include "key_rows.h"

#include "render/joints.h"

namespace zelbrook {

namespace {

// The square of the picture, in pixels, that any pose of the figure's
// lengths stays in, the hip at its centre.
QRect figureArea(const Pose &pose, QSize picture)
{
    const double reach = figureReach(pose);
    const QPointF hip(pose.hipX * picture.width() / 500.0, pose.hipY * picture.height() / 400.0);
    const double side = reach * picture.width() / 500.0 + 4;
    const QRectF square(hip - QPointF(side, side), QSizeF(2 * side, 2 * side));
    return square.toAlignedRect().intersected(QRect(QPoint(), picture));
}

} // namespace

KeyPictures::KeyPictures(const AnimationDocument &document, QSize box)
    : m_document(document)
    , m_pictures(document.animation().keyCount())
    , m_box(box)
{}

void KeyPictures::follow(const AnimationChange &change)
{
    using What = AnimationChange::What;
    followKeys(m_pictures, change, m_document.animation().keyCount(), [](std::size_t) { return QImage(); });
    if (change.what == What::KeyFigure)
        m_pictures[change.key] = QImage();
    else if (change.what == What::Cast)
        forgetAll();
}

void KeyPictures::setBox(QSize box)
{
    if (box == m_box)
        return;
    m_box = box;
    forgetAll();
}

void KeyPictures::setSides(bool apart)
{
    m_sides = apart;
    forgetAll();
}

// The picture is the exported one around the key's figures, scaled down,
// so that it shows what the key exports as.
const QImage &KeyPictures::picture(std::size_t key)
{
    QImage &picture = m_pictures.at(key);
    if (picture.isNull()) {
        const std::vector<SceneFigure> scene = m_document.animation().sceneAt({key, 0, 0});
        const QImage whole = m_sides ? sidesApartPicture(scene) : m_exporter.picture(scene, "");
        QRect area;
        for (const SceneFigure &figure : scene)
            area |= figureArea(figure.figure.pose, whole.size());
        const QImage part = area.isEmpty() ? whole : whole.copy(area);
        picture = part.scaled(m_box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        ++m_drawn;
    }
    return picture;
}

} // namespace zelbrook
