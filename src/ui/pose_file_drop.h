// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QMimeData;

namespace zelbrook {

// Lets one file dropped on a window be opened as a pose.
class PoseFileDrop : public QObject
{
    Q_OBJECT

public:
    using Open = std::function<void(const QString &path)>;

    PoseFileDrop(QWidget *window, Open open);

    // The local file that dropped data names, when it names exactly one.
    static std::optional<QString> droppedFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Open m_open;
};

} // namespace zelbrook
