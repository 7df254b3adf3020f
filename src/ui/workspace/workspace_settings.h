// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

class QMainWindow;

namespace zelbrook {

// The one thing the editor keeps between runs: the workspace's size, place
// and panels, in `zelbrook/workspace.conf` under $XDG_CONFIG_HOME, else
// ~/.config. Nothing else is written there, and the poser writes nothing.
class WorkspaceSettings
{
public:
    static constexpr QSize kFirstSize{1000, 720};

    // The file the settings live in.
    static QString filePath();

    // Puts the window where it was last time, never larger than `available`
    // and inside it; the first time, at kFirstSize or `available` if that is
    // smaller. The panels come back as they were.
    static void restore(QMainWindow &window, const QRect &available);
    static void save(const QMainWindow &window);
};

} // namespace zelbrook
