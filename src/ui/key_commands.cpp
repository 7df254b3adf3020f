// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_commands.h"

#include "action_table.h"
#include "refusals.h"

#include "timeline_cells.h"

#include "platform/clipboard.h"
#include "posefile/animation_file.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace zelbrook {

KeyCommands::KeyCommands(AnimationDocument &document, TimelineCells *cells, QMenu *canvasMenu, Report report)
    : QObject(cells)
    , m_document(document)
    , m_cells(cells)
    , m_report(std::move(report))
    , m_menu(new QMenu(cells))
{
    addCommand(ActionId::CopyKeys, [this] { copyKeys(); });
    m_cut = addCommand(ActionId::CutKeys, [this] { cutKeys(); });
    m_paste = addCommand(ActionId::PasteKeys, [this] { pasteKeys(KeyOrder::AsTheyCame); });
    m_pasteReversed = addCommand(ActionId::PasteKeysReversed, [this] { pasteKeys(KeyOrder::Reversed); });
    addCommand(ActionId::DuplicateKeys, [this] { duplicateKeys(); });
    m_reverse = addCommand(ActionId::ReverseKeys, [this] { reverseKeys(); });
    canvasMenu->addAction(m_reverse);
    m_cells->setCommands(m_menu);
    connect(m_cells, &TimelineCells::selectionChanged, this, &KeyCommands::updateState);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &KeyCommands::updateState);
    updateState();
    m_document.addAnimationObserver([this](const AnimationChange &change) {
        if (change.what == AnimationChange::What::Whole)
            m_copiedText.clear();
    });
}

// The keys are the row's while it has the focus, not the window's: the
// row takes them before the window's shortcuts and triggers the action.
QAction *KeyCommands::addCommand(ActionId id, std::function<void()> run)
{
    QAction *action = makeAction(id, nullptr, m_menu);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    m_menu->addAction(action);
    return action;
}

Status KeyCommands::putOnClipboard()
{
    const Animation keys = keyRunAnimation(m_document.animation(), m_cells->selection());
    const QString text = QString::fromStdString(writeAnimationFile(keys));
    if (Status copied = Clipboard::setAnimationText(text); !copied) {
        m_report(
            tr("Could not copy the keys to the clipboard:\n%1").arg(QString::fromStdString(copied.error().message)));
        return copied;
    }
    m_copiedText = text;
    return {};
}

void KeyCommands::updateState()
{
    const std::size_t selected = m_cells->selection().size();
    setActionEnabled(m_cut, ActionId::CutKeys, selected < m_document.animation().keyCount());
    setActionEnabled(m_reverse, ActionId::ReverseKeys, selected > 1);
    const bool holdsText = !Clipboard::animationText().value_or(QString()).isEmpty();
    setActionEnabled(m_paste, ActionId::PasteKeys, holdsText);
    setActionEnabled(m_pasteReversed, ActionId::PasteKeysReversed, holdsText);
}

void KeyCommands::copyKeys() { (void)putOnClipboard(); }

// Every key cut would leave no animation; the cut is refused before
// anything reaches the clipboard.
void KeyCommands::cutKeys()
{
    if (m_cells->selection().size() == m_document.animation().keyCount())
        return Refusals::refuse(m_cut->toolTip());
    if (putOnClipboard())
        runOnSelection(&AnimationDocument::cutKeys, false);
}

void KeyCommands::pasteKeys(KeyOrder order)
{
    const QString text = Clipboard::animationText().value_or(QString());
    const Result<Animation> read = readAnimationFile(text.toStdString(), m_document.pose());
    const FigureMatch match = !m_copiedText.isEmpty() && text == m_copiedText ? FigureMatch::ById : FigureMatch::ByName;
    const Status pasted = read ? m_document.pasteKeys(read.value(), match, order) : Status(read.error());
    if (!pasted) {
        m_report(tr("Could not paste:\n%1").arg(QString::fromStdString(pasted.error().message)));
        return;
    }
    m_cells->selectFrom(m_document.currentKey() + 1 - read.value().keyCount());
}

void KeyCommands::duplicateKeys() { runOnSelection(&AnimationDocument::duplicateKeys, true); }

void KeyCommands::reverseKeys() { runOnSelection(&AnimationDocument::reverseKeys, false); }

// A command that makes new keys selects them, the current key last.
void KeyCommands::runOnSelection(Status (AnimationDocument::*command)(KeyRun), bool selectsResult)
{
    const KeyRun run = m_cells->selection();
    if (const Status done = (m_document.*command)(run); !done)
        return Refusals::refuse(QString::fromStdString(done.error().message));
    if (selectsResult)
        m_cells->selectFrom(m_document.currentKey() + 1 - run.size());
}

} // namespace zelbrook
