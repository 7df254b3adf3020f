// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <functional>

namespace zelbrook {

namespace {

// Another program may hold the clipboard, and then the write is lost without
// a word from the system; reading it back is the only check.
Status replaceContent(QMimeData *data, const std::function<bool(const QMimeData &)> &arrived)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        delete data;
        return Error{"There is no clipboard to write to."};
    }
    clipboard->clear();
    clipboard->setMimeData(data);
    const QMimeData *now = clipboard->mimeData();
    if (now == nullptr || !arrived(*now))
        return Error{"The clipboard could not be written; another program may be using it."};
    return {};
}

} // namespace

Status Clipboard::setPicture(const QImage &image)
{
    if (image.isNull())
        return Error{"There is no picture to copy."};
    auto *data = new QMimeData;
    data->setImageData(image);
    return replaceContent(data, [](const QMimeData &now) { return now.hasImage(); });
}

Status Clipboard::setText(const QString &text)
{
    auto *data = new QMimeData;
    data->setText(text);
    return replaceContent(data, [&text](const QMimeData &now) { return now.hasText() && now.text() == text; });
}

std::optional<QString> Clipboard::text()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (data == nullptr || !data->hasText())
        return std::nullopt;
    return data->text();
}

Status Clipboard::setAnimationText(const QString &text)
{
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kAnimationMimeType), text.toUtf8());
    data->setText(text);
    return replaceContent(data, [&text](const QMimeData &now) {
        return now.data(QString::fromLatin1(kAnimationMimeType)) == text.toUtf8();
    });
}

std::optional<QString> Clipboard::animationText()
{
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (data != nullptr && data->hasFormat(QString::fromLatin1(kAnimationMimeType)))
        return QString::fromUtf8(data->data(QString::fromLatin1(kAnimationMimeType)));
    return text();
}

} // namespace zelbrook
