// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_title.h"

#include "animation_files.h"
#include "timeline_commands.h"

#include "model/animation_document.h"

#include <QEvent>
#include <QFileInfo>
#include <QWidget>

namespace zelbrook {

WindowTitle::WindowTitle(QWidget *window, std::string &caption, AnimationDocument &document,
                         const TimelineCommands &timeline, const AnimationFiles &files)
    : QObject(window)
    , m_window(window)
    , m_caption(caption)
    , m_document(document)
    , m_timeline(timeline)
    , m_files(files)
    , m_shown(window->windowTitle())
{
    window->installEventFilter(this);
    document.addObserver([this](const FigureChange &) { showModified(); });
    document.addAnimationObserver([this](const AnimationChange &) { update(); });
    connect(&timeline, &TimelineCommands::shownChanged, this, &WindowTitle::update);
    connect(&files, &AnimationFiles::fileChanged, this, &WindowTitle::update);
    update();
}

void WindowTitle::update()
{
    const bool animating = m_timeline.isShown() || m_document.animation().keyCount() > 1;
    const bool named = animating && !m_files.fileName().isEmpty();
    QString title = QString::fromStdString(m_caption);
    if (named)
        title = QFileInfo(m_files.fileName()).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"))
                + QStringLiteral("[*] — ") + title;
    m_shown = title;
    m_named = named;
    m_window->setWindowTitle(title);
    showModified();
}

// A change of the figure leaves the title as it is; it may only bring the
// animation back to its file or away from it.
void WindowTitle::showModified()
{
    const bool modified = m_named && !m_document.isClean();
    if (modified != m_window->isWindowModified())
        m_window->setWindowModified(modified);
}

bool WindowTitle::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::WindowTitleChange && m_window->windowTitle() != m_shown) {
        m_caption = m_window->windowTitle().toStdString();
        update();
    }
    return false;
}

} // namespace zelbrook
