// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zelbrook {

// Whole-file output and input for names held as QString, through
// SystemFile, which says what each call does with folders, devices, pipes and
// links. Error texts are sentences in plain words that leave the file's path
// to the caller, which names it.
class AtomicFile
{
public:
    // Writes the bytes to a new file beside the target and puts it in the
    // target's place only once all of it is written and flushed, so a failed
    // write leaves an existing file exactly as it was; a device or a pipe is
    // written as it is.
    static Status write(const QString &path, QByteArrayView bytes);

    // The whole content of a regular file. A file larger than maxBytes is an
    // error rather than being cut short, so no caller ever mistakes the start
    // of a file for all of it; folders, devices and pipes are errors too.
    static Result<QByteArray> read(const QString &path, qint64 maxBytes);
};

} // namespace zelbrook
