// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "render/draw_scene.h"

#include <QObject>
#include <QSize>

#include <functional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

enum class ActionId;

class AnimationPlayer;
class TimelineStrip;

// The timeline's commands: showing and hiding the strip under the window's
// controls, which makes the window taller by the strip's height and gives
// back the window as it was; adding, deleting and moving keys; going to the
// previous or next key; playing and stopping. Each has its key on the
// window, a button on the strip, and a place in the canvas's context menu,
// greyed out where it cannot act. Space plays or stops while the canvas or
// the row of keys has the focus. Any change of the document, and a click on
// a slider, stops playing.
class TimelineCommands : public QObject
{
    Q_OBJECT

public:
    using Redraw = std::function<void()>;

    TimelineCommands(AnimationDocument &document, QWidget *window, QWidget *canvas, QMenu *menu, Redraw redraw);
    ~TimelineCommands() override;

    TimelineStrip *strip() const { return m_strip; }
    // Whether the window shows its animator's face, the workspace with the
    // timeline, rather than the poser.
    bool isShown() const { return m_shown; }
    void setShown(bool shown);
    // What turns the window's face.
    void setFaceSwitch(std::function<void(bool workspace)> faceSwitch) { m_faceSwitch = std::move(faceSwitch); }
    // Space plays and stops on another canvas too.
    void watchCanvas(QWidget *canvas);
    bool isPlaying() const;
    void play();
    void stop();

    // What the canvas shows: the frame on show while playing; otherwise the
    // current key's figures, under them those of the keys before and after
    // it when the onion skin is on.
    std::vector<SceneFigure> shownScene() const;
    std::vector<Ghost> ghosts() const;

signals:
    // The strip was shown or hidden.
    void shownChanged();
    // Playback shows this frame.
    void framePlayed(std::size_t frame);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(ActionId id, std::function<void()> run);
    void runKeyCommand(Status (AnimationDocument::*command)());
    void goToKey(int offset);
    void follow(const AnimationChange &change);
    void updateState();
    void showFrame();
    void showPlayText(const QString &text);

    AnimationDocument &m_document;
    QWidget *m_window;
    QMenu *m_menu;
    Redraw m_redraw;
    std::function<void(bool workspace)> m_faceSwitch;
    bool m_shown = false;
    AnimationPlayer *m_player;
    TimelineStrip *m_strip = nullptr;
    QAction *m_show;
    QAction *m_add;
    QAction *m_delete;
    QAction *m_previous;
    QAction *m_next;
    QAction *m_earlier;
    QAction *m_later;
    QAction *m_play;
};

} // namespace zelbrook
