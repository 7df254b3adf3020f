// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

#include <span>
#include <string_view>

class QAction;
class QKeyEvent;
class QObject;
class QWidget;

namespace zelbrook {

// Every command of the editor.
enum class ActionId {
    NewAnimation,
    OpenAnimation,
    SaveAnimation,
    SaveAnimationAs,
    ExportAnimation,
    OpenPose,
    SavePose,
    SavePicture,
    CloseWindow,
    Undo,
    Redo,
    CopyPicture,
    CopyPoseText,
    PastePose,
    Mirror,
    SwapSides,
    NewPose,
    AddKey,
    DeleteKey,
    PreviousKey,
    NextKey,
    MoveKeyEarlier,
    MoveKeyLater,
    CopyKeys,
    CutKeys,
    PasteKeys,
    PasteKeysReversed,
    DuplicateKeys,
    ReverseKeys,
    AddFigure,
    DuplicateFigure,
    DeleteFigure,
    BringForward,
    SendBackward,
    PreviousFigure,
    NextFigure,
    FigureColour,
    Pin,
    UnpinAll,
    Reach,
    Poses,
    Animate,
    Fit,
    ActualSize,
    ZoomIn,
    ZoomOut,
    OnionSkin,
    Sides,
    MotionPath,
    Play,
    About,
};

// Where a command's key acts. A window key acts wherever the focus is in
// the window; a canvas key while the canvas or the row of keys has the
// focus, so that boxes and buttons keep it; a row key while the row of keys
// has it; a stage key while the workspace's stage has it.
enum class KeyScope { Window, Canvas, Row, Stage };

// The menu of the workspace that offers a command.
enum class MenuName { File, Edit, Key, Figure, View, Play, Help };

// One row of the table: the command's name (its object name), its text,
// its keys (Qt's portable text, alternatives after a comma and a space),
// where they act, the menu that offers it, and what the user is told when it
// cannot act (empty: it always can, or its state speaks for itself).
struct ActionRow {
    ActionId id;
    std::string_view name;
    const char *text;
    std::string_view keys;
    KeyScope scope;
    MenuName menu;
    const char *whyNot;
};

// The one table of commands, in the order the menus offer them.
std::span<const ActionRow> actionTable();
const ActionRow &actionRow(ActionId id);

// The command's keys, the first of them the one menus show.
QList<QKeySequence> actionKeys(ActionId id);
// The command's text, translated, without the keys.
QString actionText(ActionId id);

// A command made from its row: text, keys, where they act and a tooltip
// that names the keys, owned by `owner`. A window key is bound on `window`;
// a row key is the row's, which finds it among its menu's commands, and a
// stage key the stage's, which the caller binds it on; a canvas key is
// only shown, the canvas and the row take it themselves.
QAction *makeAction(ActionId id, QWidget *window, QObject *owner);

// Greys a command out, or brings it back, with the reason as its tooltip
// while it cannot act.
void setActionEnabled(QAction *action, ActionId id, bool enabled);

// The command among these that the key pressed runs, if any.
QAction *commandForKey(const QList<QAction *> &commands, const QKeyEvent &event);

} // namespace zelbrook
