// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/animation_document.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QMenu;

namespace zelbrook {

enum class ActionId;

class TimelineCells;

// The commands on the selected run of keys: copy, cut, paste, paste
// reversed, duplicate and reverse, each one step. They are the row of
// keys' own: its context menu offers them and it takes their keys while it
// has the focus; Reverse keys is in the canvas's menu too. Keys go to the
// clipboard as the text of an animation file with their figures, so they
// paste into another window or a text editor; pasted into the animation
// they came from, their figures are found by id, into any other by name.
class KeyCommands : public QObject
{
    Q_OBJECT

public:
    using Report = std::function<void(const QString &text)>;

    KeyCommands(AnimationDocument &document, TimelineCells *cells, QMenu *canvasMenu, Report report);

    void copyKeys();
    void cutKeys();
    void pasteKeys(KeyOrder order);
    void duplicateKeys();
    void reverseKeys();

    // The row's context menu.
    QMenu *menu() const { return m_menu; }

private:
    QAction *addCommand(ActionId id, std::function<void()> run);
    Status putOnClipboard();
    // Cut, paste and reverse are greyed out where they cannot act.
    void updateState();
    void runOnSelection(Status (AnimationDocument::*command)(KeyRun), bool selectsResult);

    AnimationDocument &m_document;
    TimelineCells *m_cells;
    Report m_report;
    QMenu *m_menu;
    QAction *m_cut;
    QAction *m_paste;
    QAction *m_pasteReversed;
    QAction *m_reverse;
    // The text this window last put on the clipboard, while the animation
    // it came from is still the one open.
    QString m_copiedText;
};

} // namespace zelbrook
