// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace zelbrook {

// Where a command that did nothing says why. The workspace listens and
// shows the reason in its status bar; where no one listens, as in the
// poser, which has no status bar, the refusal is a beep.
class Refusals : public QObject
{
    Q_OBJECT

public:
    static Refusals &instance();
    static void refuse(const QString &why);

signals:
    void refused(const QString &why);
};

} // namespace zelbrook
