// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;

namespace zelbrook {

enum class ActionId;

class FiguresList;
class TimelineCommands;

// The commands on the scene's figures: add, duplicate, delete, bring
// forward, send backward, colour, and going to the previous or next figure
// of the current key. Each has its key, its place in the canvas's menu and,
// but for the last two, a button by the figures list in the timeline strip;
// each is greyed where it cannot act. Delete acts while the canvas or the
// figures list has the focus. Each change is one step of the history.
class FigureCommands : public QObject
{
    Q_OBJECT

public:
    // Asks for a figure's colour; nothing when the user cancels.
    using ColourPicker = std::function<std::optional<Color>(Color current)>;

    FigureCommands(AnimationDocument &document, TimelineCommands &timeline, QWidget *window, QWidget *canvas,
                   QMenu *menu, const Figure &startFigure);

    FiguresList *list() const { return m_list; }
    // The list with the buttons of the commands beside it.
    QWidget *panelWidget() const { return m_panel; }
    // Delete deletes the current figure on another canvas too.
    void watchCanvas(QWidget *canvas) { canvas->installEventFilter(this); }
    // Replaces the desktop's colour dialog, for tests.
    void setColourPicker(ColourPicker picker) { m_picker = std::move(picker); }

    void addFigure();
    void duplicateFigure();
    void deleteFigure();
    void chooseColour();
    void goToFigure(int offset);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addCommand(ActionId id, std::function<Status()> run);
    QWidget *panel(QWidget *parent);
    void updateState();

    AnimationDocument &m_document;
    TimelineCommands &m_timeline;
    QWidget *m_window;
    QMenu *m_menu;
    Figure m_startFigure;
    ColourPicker m_picker;
    FiguresList *m_list;
    QAction *m_add;
    QAction *m_duplicate;
    QAction *m_delete;
    QAction *m_forward;
    QAction *m_backward;
    QAction *m_colour;
    QWidget *m_panel = nullptr;
    // Previous and next figure.
    std::vector<QAction *> m_goTo;
};

} // namespace zelbrook
