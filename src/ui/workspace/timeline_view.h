// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "timeline_input.h"
#include "timeline_layout.h"
#include "timing_drag.h"

#include "ui/key_selection.h"

#include <QAbstractScrollArea>

#include <optional>

class QMenu;

namespace zelbrook {

class DocumentSignals;
class KeysModel;
class TimelineKeys;

// The workspace's timeline: a ruler over every frame of the animation and
// under it each key as a block as long as its frames, its hold filled and
// its in-betweens hatched, the key's picture at its start, as tall as the
// panel lets it be and never under 48 pixels. A playhead marks one frame.
//
// A press or a drag on the ruler, or where no block is, chooses a frame at
// once; so do Left and Right, a frame at a time, and Home and End. A click
// on a block makes its key current; with Shift it selects the run of keys
// from the one chosen last, and Shift+Alt+Left and Right move the run's
// moving end by a key. Dragging the end of a block's hold or of its
// in-betweens shows the new length and sets it, as one step, when the
// button is let go; Escape gives the drag up. Ctrl and the wheel widen or
// narrow the frames about the pointer.
//
// The view shows the keys as its own model of them tells: a key whose
// picture or standing changed has its block painted again, and keys that
// come, go, move or change their timing are laid out again. Pictures are
// drawn only for the keys shown. What is chosen here goes to the document.
class TimelineView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int kDefaultFrameWidth = 12;

    explicit TimelineView(DocumentSignals &changes, QWidget *parent = nullptr);

    KeyRun selection() const { return m_selection->run(); }
    std::size_t playhead() const { return m_playhead; }
    // Moves the playhead drawn; the frames chosen here are only asked for.
    void setPlayhead(std::size_t frame);
    // The width of a frame, in pixels; QFrame's frameWidth() is the border.
    int pixelsPerFrame() const { return m_layout.frameWidth(); }
    void setPixelsPerFrame(int width);
    // Where a frame starts and where a key's block lies, in the viewport.
    int frameX(std::size_t frame) const;
    QRect blockRect(std::size_t key) const;
    QSize pictureSize() const;
    // Draws the pictures again with the left arm and leg lighter, or not.
    void setSides(bool apart);
    // The key commands: their menu on a right-click, their keys before the
    // window's (copy and paste act on the selected keys here).
    void setCommands(QMenu *menu) { m_input.setCommands(menu); }
    // Selects the run from this key to the current one.
    void selectFrom(std::size_t anchor);
    // The view shows and extends another view's run of keys from now on.
    void shareSelection(KeySelection &selection);
    int picturesDrawn() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

signals:
    void frameChosen(std::size_t frame);
    void selectionChanged();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void follow(const AnimationChange &change);
    // The keys were laid out again: a drag under way gives way to them.
    void laidOut();
    void repaintKeys(std::size_t first, std::size_t last);
    QRect playheadRect() const;
    QRect lane() const;
    int scroll() const;
    void fitScrollRange();
    void bringIntoView(std::size_t frame);
    void chooseFrame(std::size_t frame);
    // Does what a key or a press asks; false when it asks nothing.
    bool act(const TimelineInput::Answer &answer);
    void chooseKey(std::size_t key, KeySelection::Choice choice);
    void tellSelection();
    // A point of the viewport along the timeline's whole length.
    QPoint along(const QPointF &point) const;
    void zoomAbout(int width, int x);

    AnimationDocument &m_document;
    KeysModel *m_keys;
    TimelineKeys *m_timelineKeys = nullptr;
    TimelineLayout m_layout;
    KeySelection m_ownSelection;
    KeySelection *m_selection = &m_ownSelection;
    KeyRun m_told;
    std::size_t m_playhead = 0;
    // What the left button holds: frames being chosen, or an end dragged.
    bool m_choosingFrames = false;
    TimingDrag m_drag;
    TimelineInput m_input{m_layout};
};

} // namespace zelbrook
