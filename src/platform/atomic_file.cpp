#include "platform/atomic_file.h"

#include "platform/system_file.h"

#include <QFile>

namespace zelbrook {

namespace {

// The bytes the system holds for a name; for a name that came from the
// system as bytes, the very same bytes.
std::string systemName(const QString &path) { return QFile::encodeName(path).toStdString(); }

QString messageText(const Error &error) { return QString::fromStdString(error.message); }

} // namespace

std::optional<QString> AtomicFile::write(const QString &path, QByteArrayView bytes)
{
    const Status written =
        SystemFile::write(systemName(path), std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
    if (!written)
        return messageText(written.error());
    return std::nullopt;
}

std::variant<QByteArray, QString> AtomicFile::read(const QString &path, qint64 maxBytes)
{
    Q_ASSERT(maxBytes >= 0);
    const Result<std::string> content = SystemFile::read(systemName(path), static_cast<std::size_t>(maxBytes));
    if (!content)
        return messageText(content.error());
    return QByteArray::fromStdString(*content);
}

} // namespace zelbrook
