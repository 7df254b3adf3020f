// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomic_file.h"

#include "platform/system_file.h"

#include <QFile>

namespace zelbrook {

namespace {

// The bytes the system holds for a name; for a name that came from the
// system as bytes, the very same bytes.
std::string systemName(const QString &path) { return QFile::encodeName(path).toStdString(); }

} // namespace

Status AtomicFile::write(const QString &path, QByteArrayView bytes)
{
    return SystemFile::write(systemName(path), std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

Result<QByteArray> AtomicFile::read(const QString &path, qint64 maxBytes)
{
    Q_ASSERT(maxBytes >= 0);
    const Result<std::string> content = SystemFile::read(systemName(path), static_cast<std::size_t>(maxBytes));
    if (!content)
        return content.error();
    return QByteArray::fromStdString(*content);
}

} // namespace zelbrook
