// SPDX-License-Identifier: GPL-3.0-or-later
#include "key_commands.h"

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
    addCommand(tr("Copy keys"), QKeySequence(Qt::CTRL | Qt::Key_C), [this] { copyKeys(); });
    m_cut = addCommand(tr("Cut keys"), QKeySequence(Qt::CTRL | Qt::Key_X), [this] { cutKeys(); });
    m_paste =
        addCommand(tr("Paste keys"), QKeySequence(Qt::CTRL | Qt::Key_V), [this] { pasteKeys(KeyOrder::AsTheyCame); });
    m_pasteReversed = addCommand(tr("Paste keys reversed"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
                                 [this] { pasteKeys(KeyOrder::Reversed); });
    addCommand(tr("Duplicate keys"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), [this] { duplicateKeys(); });
    m_reverse = addCommand(tr("Reverse keys"), QKeySequence(), [this] { reverseKeys(); });
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
QAction *KeyCommands::addCommand(const QString &text, const QKeySequence &keys, std::function<void()> run)
{
    auto *action = new QAction(text, m_menu);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
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
    m_cut->setEnabled(selected < m_document.animation().keyCount());
    m_reverse->setEnabled(selected > 1);
    const bool holdsText = !Clipboard::animationText().value_or(QString()).isEmpty();
    m_paste->setEnabled(holdsText);
    m_pasteReversed->setEnabled(holdsText);
}

void KeyCommands::copyKeys() { (void)putOnClipboard(); }

// Every key cut would leave no animation; the cut is refused before
// anything reaches the clipboard.
void KeyCommands::cutKeys()
{
    if (m_cells->selection().size() == m_document.animation().keyCount())
        return QApplication::beep();
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
        m_report(tr("Could not paste the keys:\n%1").arg(QString::fromStdString(pasted.error().message)));
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
    if (!(m_document.*command)(run))
        return QApplication::beep();
    if (selectsResult)
        m_cells->selectFrom(m_document.currentKey() + 1 - run.size());
}

} // namespace zelbrook
