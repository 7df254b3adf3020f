// SPDX-License-Identifier: GPL-3.0-or-later
#include "action_table.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <array>

namespace zelbrook {

namespace {

using A = ActionId;
using S = KeyScope;
using M = MenuName;

constexpr std::array kActions{
    ActionRow{A::NewAnimation, "newAnimation", QT_TRANSLATE_NOOP("Actions", "New animation"), "", S::Window, M::File,
              ""},
    ActionRow{A::OpenAnimation, "openAnimation", QT_TRANSLATE_NOOP("Actions", "Open animation…"), "Ctrl+Shift+O",
              S::Window, M::File, ""},
    ActionRow{A::SaveAnimation, "saveAnimation", QT_TRANSLATE_NOOP("Actions", "Save animation"), "Ctrl+Shift+S",
              S::Window, M::File, ""},
    ActionRow{A::SaveAnimationAs, "saveAnimationAs", QT_TRANSLATE_NOOP("Actions", "Save animation as…"), "", S::Window,
              M::File, ""},
    ActionRow{A::ExportAnimation, "exportAnimation", QT_TRANSLATE_NOOP("Actions", "Export animation…"), "Ctrl+Shift+E",
              S::Window, M::File, ""},
    ActionRow{A::OpenPose, "openPose", QT_TRANSLATE_NOOP("Actions", "Open .zbk"), "Ctrl+O", S::Window, M::File, ""},
    ActionRow{A::SavePose, "savePose", QT_TRANSLATE_NOOP("Actions", "Save as .zbk"), "Ctrl+S", S::Window, M::File, ""},
    ActionRow{A::SavePicture, "savePicture", QT_TRANSLATE_NOOP("Actions", "Save as .bmp"), "Ctrl+E", S::Window, M::File,
              ""},
    ActionRow{A::CloseWindow, "closeWindow", QT_TRANSLATE_NOOP("Actions", "Close"), "Ctrl+W, Ctrl+Q", S::Window,
              M::File, ""},
    ActionRow{A::Undo, "undo", QT_TRANSLATE_NOOP("Actions", "Undo"), "Ctrl+Z", S::Window, M::Edit,
              QT_TRANSLATE_NOOP("Actions", "Nothing to undo")},
    ActionRow{A::Redo, "redo", QT_TRANSLATE_NOOP("Actions", "Redo"), "Ctrl+Shift+Z, Ctrl+Y", S::Window, M::Edit,
              QT_TRANSLATE_NOOP("Actions", "Nothing to redo")},
    ActionRow{A::CopyPicture, "copyPicture", QT_TRANSLATE_NOOP("Actions", "Copy to Clipboard"), "Ctrl+C", S::Window,
              M::Edit, ""},
    ActionRow{A::CopyPoseText, "copyPoseText", QT_TRANSLATE_NOOP("Actions", "Copy pose as text"), "Ctrl+Shift+C",
              S::Window, M::Edit, ""},
    ActionRow{A::PastePose, "pastePose", QT_TRANSLATE_NOOP("Actions", "Paste pose"), "Ctrl+V", S::Window, M::Edit,
              QT_TRANSLATE_NOOP("Actions", "The clipboard holds no text")},
    ActionRow{A::Mirror, "mirror", QT_TRANSLATE_NOOP("Actions", "Mirror"), "Ctrl+M", S::Window, M::Edit, ""},
    ActionRow{A::SwapSides, "swapSides", QT_TRANSLATE_NOOP("Actions", "Swap sides"), "Ctrl+Shift+W", S::Window, M::Edit,
              ""},
    ActionRow{A::NewPose, "newPose", QT_TRANSLATE_NOOP("Actions", "New pose"), "Ctrl+N", S::Window, M::Edit, ""},
    ActionRow{A::AddKey, "addKey", QT_TRANSLATE_NOOP("Actions", "Add key"), "Ctrl+K", S::Window, M::Key,
              QT_TRANSLATE_NOOP("Actions", "An animation holds at most 10,000 keys and 100,000 frames")},
    ActionRow{A::DeleteKey, "deleteKey", QT_TRANSLATE_NOOP("Actions", "Delete key"), "Ctrl+Shift+K", S::Window, M::Key,
              QT_TRANSLATE_NOOP("Actions", "An animation keeps at least one key")},
    ActionRow{A::PreviousKey, "previousKey", QT_TRANSLATE_NOOP("Actions", "Previous key"), "Alt+Left", S::Window,
              M::Key, QT_TRANSLATE_NOOP("Actions", "This is the first key")},
    ActionRow{A::NextKey, "nextKey", QT_TRANSLATE_NOOP("Actions", "Next key"), "Alt+Right", S::Window, M::Key,
              QT_TRANSLATE_NOOP("Actions", "This is the last key")},
    ActionRow{A::MoveKeyEarlier, "moveKeyEarlier", QT_TRANSLATE_NOOP("Actions", "Move key earlier"), "Ctrl+Shift+PgUp",
              S::Window, M::Key, QT_TRANSLATE_NOOP("Actions", "This is the first key")},
    ActionRow{A::MoveKeyLater, "moveKeyLater", QT_TRANSLATE_NOOP("Actions", "Move key later"), "Ctrl+Shift+PgDown",
              S::Window, M::Key, QT_TRANSLATE_NOOP("Actions", "This is the last key")},
    ActionRow{A::CopyKeys, "copyKeys", QT_TRANSLATE_NOOP("Actions", "Copy keys"), "Ctrl+C", S::Row, M::Key, ""},
    ActionRow{A::CutKeys, "cutKeys", QT_TRANSLATE_NOOP("Actions", "Cut keys"), "Ctrl+X", S::Row, M::Key,
              QT_TRANSLATE_NOOP("Actions", "An animation keeps at least one key")},
    ActionRow{A::PasteKeys, "pasteKeys", QT_TRANSLATE_NOOP("Actions", "Paste keys"), "Ctrl+V", S::Row, M::Key,
              QT_TRANSLATE_NOOP("Actions", "The clipboard holds no keys")},
    ActionRow{A::PasteKeysReversed, "pasteKeysReversed", QT_TRANSLATE_NOOP("Actions", "Paste keys reversed"),
              "Ctrl+Shift+V", S::Row, M::Key, QT_TRANSLATE_NOOP("Actions", "The clipboard holds no keys")},
    ActionRow{A::DuplicateKeys, "duplicateKeys", QT_TRANSLATE_NOOP("Actions", "Duplicate keys"), "Ctrl+Shift+D", S::Row,
              M::Key, ""},
    ActionRow{A::ReverseKeys, "reverseKeys", QT_TRANSLATE_NOOP("Actions", "Reverse keys"), "", S::Row, M::Key,
              QT_TRANSLATE_NOOP("Actions", "Select two keys or more to reverse")},
    ActionRow{A::AddFigure, "addFigure", QT_TRANSLATE_NOOP("Actions", "Add figure"), "Ctrl+Shift+N", S::Window,
              M::Figure, QT_TRANSLATE_NOOP("Actions", "An animation holds at most 100 figures")},
    ActionRow{A::DuplicateFigure, "duplicateFigure", QT_TRANSLATE_NOOP("Actions", "Duplicate figure"), "Ctrl+D",
              S::Window, M::Figure, QT_TRANSLATE_NOOP("Actions", "An animation holds at most 100 figures")},
    ActionRow{A::DeleteFigure, "deleteFigure", QT_TRANSLATE_NOOP("Actions", "Delete figure"), "Del", S::Canvas,
              M::Figure, QT_TRANSLATE_NOOP("Actions", "A key keeps at least one figure")},
    ActionRow{A::BringForward, "bringForward", QT_TRANSLATE_NOOP("Actions", "Bring forward"), "Ctrl+Shift+Up",
              S::Window, M::Figure, QT_TRANSLATE_NOOP("Actions", "The figure is in front already")},
    ActionRow{A::SendBackward, "sendBackward", QT_TRANSLATE_NOOP("Actions", "Send backward"), "Ctrl+Shift+Down",
              S::Window, M::Figure, QT_TRANSLATE_NOOP("Actions", "The figure is at the back already")},
    ActionRow{A::PreviousFigure, "previousFigure", QT_TRANSLATE_NOOP("Actions", "Previous figure"), "Ctrl+PgUp",
              S::Window, M::Figure, ""},
    ActionRow{A::NextFigure, "nextFigure", QT_TRANSLATE_NOOP("Actions", "Next figure"), "Ctrl+PgDown", S::Window,
              M::Figure, ""},
    ActionRow{A::FigureColour, "figureColour", QT_TRANSLATE_NOOP("Actions", "Colour…"), "", S::Window, M::Figure, ""},
    ActionRow{A::Pin, "pin", QT_TRANSLATE_NOOP("Actions", "Pin"), "P", S::Canvas, M::Figure,
              QT_TRANSLATE_NOOP("Actions", "Point at a hand or a foot to pin it")},
    ActionRow{A::UnpinAll, "unpinAll", QT_TRANSLATE_NOOP("Actions", "Unpin all"), "", S::Window, M::Figure,
              QT_TRANSLATE_NOOP("Actions", "No hand or foot of the figure is pinned")},
    ActionRow{A::Reach, "reach", QT_TRANSLATE_NOOP("Actions", "Reach"), "", S::Window, M::Figure, ""},
    ActionRow{A::Poses, "poses", QT_TRANSLATE_NOOP("Actions", "Poses"), "Ctrl+Shift+P", S::Window, M::Figure, ""},
    ActionRow{A::Animate, "animate", QT_TRANSLATE_NOOP("Actions", "Animate"), "Ctrl+T", S::Window, M::View, ""},
    ActionRow{A::Fit, "fit", QT_TRANSLATE_NOOP("Actions", "Fit"), "", S::Window, M::View, ""},
    ActionRow{A::ActualSize, "actualSize", QT_TRANSLATE_NOOP("Actions", "Actual size"), "Ctrl+0", S::Window, M::View,
              ""},
    ActionRow{A::ZoomIn, "zoomIn", QT_TRANSLATE_NOOP("Actions", "Zoom in"), "Ctrl++, Ctrl+=", S::Window, M::View,
              QT_TRANSLATE_NOOP("Actions", "The stage is as large as it goes")},
    ActionRow{A::ZoomOut, "zoomOut", QT_TRANSLATE_NOOP("Actions", "Zoom out"), "Ctrl+-", S::Window, M::View,
              QT_TRANSLATE_NOOP("Actions", "The stage is as small as it goes")},
    ActionRow{A::OnionSkin, "onionSkin", QT_TRANSLATE_NOOP("Actions", "Onion skin"), "O", S::Stage, M::View, ""},
    ActionRow{A::Sides, "sides", QT_TRANSLATE_NOOP("Actions", "Sides"), "", S::Window, M::View, ""},
    ActionRow{A::MotionPath, "motionPath", QT_TRANSLATE_NOOP("Actions", "Motion path"), "Ctrl+Shift+M", S::Window,
              M::View, ""},
    ActionRow{A::Play, "play", QT_TRANSLATE_NOOP("Actions", "Play"), "Space", S::Canvas, M::Play,
              QT_TRANSLATE_NOOP("Actions", "An animation of one frame has nothing to play")},
    ActionRow{A::About, "about", QT_TRANSLATE_NOOP("Actions", "About Zelbrook"), "", S::Window, M::Help, ""},
};

QString tooltipOf(ActionId id)
{
    const QList<QKeySequence> keys = actionKeys(id);
    QString tip = actionText(id);
    if (!keys.isEmpty())
        tip += QStringLiteral(" (") + keys.front().toString(QKeySequence::NativeText) + QLatin1Char(')');
    return tip;
}

} // namespace

std::span<const ActionRow> actionTable() { return kActions; }

const ActionRow &actionRow(ActionId id)
{
    const auto *row = std::find_if(kActions.begin(), kActions.end(), [id](const ActionRow &r) { return r.id == id; });
    Q_ASSERT(row != kActions.end());
    return *row;
}

QList<QKeySequence> actionKeys(ActionId id)
{
    const std::string_view keys = actionRow(id).keys;
    QList<QKeySequence> sequences;
    const QString text = QString::fromLatin1(keys.data(), static_cast<qsizetype>(keys.size()));
    for (const QString &key : text.split(QStringLiteral(", "), Qt::SkipEmptyParts))
        sequences.append(QKeySequence::fromString(key, QKeySequence::PortableText));
    return sequences;
}

QString actionText(ActionId id) { return QCoreApplication::translate("Actions", actionRow(id).text); }

QAction *makeAction(ActionId id, QWidget *window, QObject *owner)
{
    const ActionRow &row = actionRow(id);
    auto *action = new QAction(actionText(id), owner);
    action->setObjectName(QString::fromLatin1(row.name.data(), static_cast<qsizetype>(row.name.size())));
    const QList<QKeySequence> keys = actionKeys(id);
    if (row.scope == KeyScope::Canvas) {
        // The menu shows the key; the canvas and the row take it themselves.
        if (!keys.isEmpty())
            action->setText(action->text() + QLatin1Char('\t') + keys.front().toString(QKeySequence::NativeText));
        action->setIconText(actionText(id));
    } else if (row.scope == KeyScope::Row || row.scope == KeyScope::Stage) {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
    } else {
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        window->addAction(action);
    }
    action->setToolTip(tooltipOf(id));
    return action;
}

// Every edit asks again, so the tooltip is put together only when the
// answer changes.
void setActionEnabled(QAction *action, ActionId id, bool enabled)
{
    if (action->isEnabled() == enabled)
        return;
    action->setEnabled(enabled);
    const char *whyNot = actionRow(id).whyNot;
    action->setToolTip(enabled || !*whyNot ? tooltipOf(id) : QCoreApplication::translate("Actions", whyNot));
}

QAction *commandForKey(const QList<QAction *> &commands, const QKeyEvent &event)
{
    const QKeySequence pressed(event.keyCombination());
    for (QAction *action : commands) {
        if (!action->shortcut().isEmpty() && action->shortcut() == pressed)
            return action;
    }
    return nullptr;
}

} // namespace zelbrook
