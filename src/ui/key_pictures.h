// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "export/exporter.h"
#include "model/animation_document.h"

#include <QImage>
#include <QSize>

#include <vector>

namespace zelbrook {

// A small picture of each key of an animation: the key's scene as it
// exports, cut down to the part its figures cover and scaled to fit a box.
// A picture is drawn when first asked for and kept until its key, the cast,
// the box or the way sides are shown changes.
class KeyPictures
{
public:
    KeyPictures(const AnimationDocument &document, QSize box);

    // Moves, adds, drops or forgets pictures as the keys change.
    void follow(const AnimationChange &change);
    const QImage &picture(std::size_t key);
    QSize box() const { return m_box; }
    void setBox(QSize box);
    // Draws every picture again with the left arm and leg lighter, or not.
    void setSides(bool apart);
    std::size_t count() const { return m_pictures.size(); }
    // How many pictures have been drawn so far.
    int drawn() const { return m_drawn; }

private:
    void forgetAll() { m_pictures.assign(m_pictures.size(), QImage()); }

    const AnimationDocument &m_document;
    // A null image is a picture still to draw.
    std::vector<QImage> m_pictures;
    Exporter m_exporter;
    QSize m_box;
    bool m_sides = false;
    int m_drawn = 0;
};

} // namespace zelbrook
