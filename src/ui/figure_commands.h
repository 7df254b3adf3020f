// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>

#include <functional>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace zelbrook {

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
    QAction *addCommand(const QString &text, const QKeySequence &keys, std::function<Status()> run);
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
};

} // namespace zelbrook
