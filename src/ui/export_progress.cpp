// SPDX-License-Identifier: GPL-3.0-or-later
#include "export_progress.h"

#include "platform/message_box.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QShortcut>
#include <QTimer>

#include <atomic>
#include <thread>

namespace zelbrook {

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

ExportProgress::ExportProgress(QWidget *window)
    : QObject(window)
    , m_window(window)
{}

ExportProgress::Outcome ExportProgress::run(std::size_t frames, const Job &job)
{
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::atomic<bool> finished{false};
    Outcome outcome;
    QProgressDialog box(tr("Exporting the animation..."), tr("Cancel"), 0, static_cast<int>(frames), m_window);
    box.setWindowTitle(MessageBox::title());
    box.setWindowModality(Qt::WindowModal);
    box.setAutoClose(false);
    box.setAutoReset(false);
    box.setMinimumDuration(kShowAfterMilliseconds);
    box.setValue(0);
    m_box = &box;
    m_running = true;
    qApp->installEventFilter(this);
    const auto ended = qScopeGuard([this] {
        qApp->removeEventFilter(this);
        m_running = false;
        m_box = nullptr;
    });
    std::thread worker([&] {
        outcome.status = job([&](std::size_t framesDone) {
            done = framesDone;
            return !stop;
        });
        finished = true;
    });
    QEventLoop loop;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done > 0)
            box.setValue(static_cast<int>(done));
        stop = stop || box.wasCanceled();
        if (finished)
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    worker.join();
    outcome.cancelled = stop && !outcome.status;
    return outcome;
}

bool ExportProgress::belongsToWindow(QObject *object) const
{
    for (; object; object = object->parent()) {
        if (object == m_box)
            return false;
        if (object == m_window)
            return true;
    }
    return false;
}

// Input to the window, and the shortcuts of its actions, wait for the export;
// the progress box takes its own.
bool ExportProgress::eventFilter(QObject *watched, QEvent *event)
{
    return m_running && isInput(event->type()) && belongsToWindow(watched);
}

} // namespace zelbrook
