// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"
#include "render/scene_picker.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QDockWidget;
class QLabel;
class QMenu;

namespace zelbrook {

enum class ActionId;
class SliderPanel;
class WindowControls;

// The animator's face of the editor's window: a main window that grows, with
// a menu bar of every command, the stage in the middle, the panels docked
// around it (the sliders, the timeline, the figures, the poses) and a status
// bar that tells where the animation stands and, for a moment, why a
// command did nothing. Its size, place and panels last between runs.
class WorkspaceWindow : public QMainWindow
{
    Q_OBJECT

public:
    enum class Panel { Sliders, Timeline, Figures, Poses };

    // What the workspace shows, made by the poser's side.
    struct Parts {
        QWidget *stage;
        QWidget *timeline;
        QWidget *figures;
        // The shelf's panel, made the first time the Poses panel shows.
        std::function<QWidget *()> poses;
        // The File menu's Open Recent.
        QMenu *recent = nullptr;
    };

    // The commands are the poser's, found by their names among its children.
    // Closing the workspace closes the poser, which asks about unsaved
    // changes first.
    WorkspaceWindow(AnimationDocument &document, QWidget *poser, Parts parts);
    ~WorkspaceWindow() override;

    QAction *command(ActionId id) const;
    QDockWidget *dock(Panel panel) const;
    SliderPanel &sliders() const { return *m_sliders; }
    // Opens the Poses panel, made on first use, with the focus in it.
    void showPoses();
    // "frame n of N · key k of K · figure name", counted from 1.
    void showFrame(std::size_t frame);
    // Tells, for a moment, why a command did nothing.
    void showRefusal(const QString &why);
    // The workspace takes the place of the poser, where it was last time.
    void open();
    // A short menu of what acts on what was clicked: the Figure menu's
    // commands on a figure, which becomes current, and the Key menu's on
    // empty stage.
    void showStageMenu(QPoint globalPos, std::optional<zelbrook::ScenePick> pick);

protected:
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QDockWidget *addPanel(Panel panel, const QString &title, QWidget *content, Qt::DockWidgetArea area);
    QWidget *slidersPanel();
    void buildMenus();
    void addTools();
    void addStageCommands();

    AnimationDocument &m_document;
    QWidget *m_poser;
    Parts m_parts;
    std::unique_ptr<WindowControls> m_controls;
    SliderPanel *m_sliders = nullptr;
    QLabel *m_frame;
    std::size_t m_shownFrame = 0;
    bool m_restored = false;
};

} // namespace zelbrook
