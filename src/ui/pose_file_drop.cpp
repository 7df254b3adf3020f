// SPDX-License-Identifier: GPL-3.0-or-later
#include "pose_file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace zelbrook {

PoseFileDrop::PoseFileDrop(QWidget *window, Open open)
    : QObject(window)
    , m_open(std::move(open))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

std::optional<QString> PoseFileDrop::droppedFile(const QMimeData *data)
{
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    return urls.front().toLocalFile();
}

bool PoseFileDrop::eventFilter(QObject *, QEvent *event)
{
    if (event->type() == QEvent::DragEnter) {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        if (droppedFile(enter->mimeData()))
            enter->acceptProposedAction();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (const auto path = droppedFile(drop->mimeData())) {
            drop->acceptProposedAction();
            m_open(*path);
        }
        return true;
    }
    return false;
}

} // namespace zelbrook
