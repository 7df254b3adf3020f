#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zelbrook {

std::optional<QString> Clipboard::setPicture(const QImage &image)
{
    if (image.isNull())
        return QStringLiteral("There is no picture to copy.");
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        return QStringLiteral("There is no clipboard to write to.");
    clipboard->clear();
    auto *data = new QMimeData;
    data->setImageData(image);
    clipboard->setMimeData(data);
    // Another program may hold the clipboard, and then the write is lost
    // without a word from the system; reading it back is the only check.
    const QMimeData *now = clipboard->mimeData();
    if (now == nullptr || !now->hasImage())
        return QStringLiteral("The clipboard could not be written; another program may be using it.");
    return std::nullopt;
}

} // namespace zelbrook
