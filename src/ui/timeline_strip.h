// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QWidget>

#include <span>

class QAction;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QScrollArea;
class QSpinBox;

namespace zelbrook {

class TimelineCells;

// The strip under the window's controls: the row of keys, the current key's
// hold, in-betweens and ease, the animation's frame rate and loop, the onion
// skin switch, a frame counter, a button for each timeline command and a
// row of buttons for the animation's files with the switches for the sides
// and the motion path at its right. Every value typed or picked goes
// to the document as one step; a value the animation cannot take is refused
// with a beep and the box shows the document's again. Undo and redo reach
// the document from a number box that holds no unfinished typing.
class TimelineStrip : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 152;

    TimelineStrip(AnimationDocument &document, std::span<QAction *const> buttons, QWidget *parent);

    TimelineCells *cells() const { return m_cells; }
    // Fills the row of file buttons; Tab reaches them after the switches.
    void setFileButtons(std::span<QAction *const> buttons);
    // Adds a button at the end of the row of file buttons.
    void addButton(QAction *action);
    // Puts a panel at the right of the row of keys; Tab reaches it after
    // the row.
    void addBesideKeys(QWidget *panel);
    // The row of keys gives way to the workspace's timeline, which shows
    // the keys in its place.
    void hideKeysRow();
    bool onionSkin() const;
    // Whether the screen shows the figures' sides apart, and the current
    // figure's motion path.
    bool sides() const;
    QCheckBox *pathBox() const { return m_path; }
    // Shows "frame n of N, key k of K", counted from 1.
    void showFrame(std::size_t frame, std::size_t frames, std::size_t key);
    // Shows the frame the document stands on.
    void showCurrentFrame();

signals:
    void onionSkinChanged();
    void screenAidsChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *timingRow();
    QWidget *buttonRow(std::span<QAction *const> buttons);
    // Buttons placed from `at` on in the row, or after what it holds.
    QWidget *addButtons(QWidget *row, std::span<QAction *const> buttons, QWidget *previous, int at = -1);
    void addScreenSwitches(QHBoxLayout *row);
    void follow();
    void takeTiming();
    void takePlayback();

    AnimationDocument &m_document;
    TimelineCells *m_cells;
    QScrollArea *m_scroller;
    QSpinBox *m_hold = nullptr;
    QSpinBox *m_tweens = nullptr;
    QComboBox *m_ease = nullptr;
    QSpinBox *m_fps = nullptr;
    QCheckBox *m_loop = nullptr;
    QCheckBox *m_onionSkin = nullptr;
    QCheckBox *m_sides = nullptr;
    QCheckBox *m_path = nullptr;
    QLabel *m_counter = nullptr;
    QWidget *m_fileRow = nullptr;
    QHBoxLayout *m_keysRow = nullptr;
    // Set while the strip writes its own boxes.
    bool m_following = false;
};

} // namespace zelbrook
