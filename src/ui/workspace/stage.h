// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "platform/scaled_picture.h"
#include "render/scene_picker.h"

#include <QAbstractScrollArea>
#include <QPoint>
#include <QPointF>
#include <QSizeF>

#include <optional>

namespace zelbrook {

class CanvasPosing;

// The workspace's picture of the scene, zoomed and scrolled, and posed by
// hand at every zoom as the canvas is. It shows the 493 x 397 picture that
// its drawer draws, fitted to the view or at a chosen zoom, drawn again for
// the zoom and the screen's density so that its lines stay sharp; at Actual
// size on a plain screen it is the exported picture, pixel for pixel. The
// Ctrl key with the wheel zooms about the pointer, the wheel alone and the
// scroll bars scroll, and the middle button drags the picture about.
class Stage : public QAbstractScrollArea
{
    Q_OBJECT

public:
    using Drawer = ScaledPicture::Drawer;

    explicit Stage(AnimationDocument &document, QWidget *parent = nullptr);
    ~Stage() override;

    // The drawer draws the whole picture on the canvas it is given, at
    // whatever zoom that canvas has; it is called when the stage needs the
    // picture, at most once for each change and zoom.
    void setDrawer(Drawer drawer);
    // The drawing has changed: the stage draws it again when it next shows.
    void pictureChanged();

    // The picture's logical pixels to one of its own.
    qreal zoom() const { return m_zoom; }
    bool isFit() const { return m_fit; }
    CanvasPosing &posing() { return *m_posing; }
    // Where a position on the viewport lies in the picture, in its pixels.
    Point picturePixels(const QPointF &at) const;
    // Where the picture lies on the viewport.
    QRectF pictureRect() const;

public slots:
    void fit();
    void actualSize();
    void zoomIn();
    void zoomOut();

signals:
    void zoomChanged();
    // A right-click on the picture, with what it clicked; the Menu key,
    // with nothing.
    void contextMenuAt(QPoint globalPos, std::optional<zelbrook::ScenePick> pick);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    qreal ratio() const;
    // The picture's size on the viewport, whole device pixels.
    QSizeF shownSize() const;
    void zoomAbout(qreal zoom, QPointF anchor);
    void layOut();
    QPointF viewCentre() const;

    Drawer m_drawer;
    quint64 m_generation = 0;
    ScaledPicture m_picture;
    qreal m_zoom = 1.0;
    bool m_fit = true;
    int m_wheelTurn = 0; // eighths of a degree not yet turned into a step
    // Where a middle-button drag began, and the scroll bars' values then.
    std::optional<QPointF> m_panFrom;
    QPoint m_panScroll;
    CanvasPosing *m_posing;
};

} // namespace zelbrook
