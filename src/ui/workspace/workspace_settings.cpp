// SPDX-License-Identifier: GPL-3.0-or-later
#include "workspace_settings.h"

#include <QDir>
#include <QMainWindow>
#include <QSettings>

#include <algorithm>

namespace zelbrook {

namespace {

constexpr auto kState = "panels";
// Where the window stood and how large it was; a maximised window keeps
// its normal size for when it is restored.
constexpr auto kPlace = "place";
constexpr auto kMaximised = "maximised";

QSize boundedSize(QSize size, const QRect &available) { return size.boundedTo(available.size()); }

// A rectangle of the given size inside `available`, as near `wanted` as it
// can stand.
QRect placedInside(const QRect &wanted, const QRect &available)
{
    QRect placed(wanted.topLeft(), boundedSize(wanted.size(), available));
    placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() + 1 - placed.width()));
    placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
    return placed;
}

} // namespace

QString WorkspaceSettings::filePath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/zelbrook/workspace.conf");
}

void WorkspaceSettings::restore(QMainWindow &window, const QRect &available)
{
    const QSettings settings(filePath(), QSettings::IniFormat);
    const QRect place = settings.value(kPlace).toRect();
    if (place.isValid()) {
        window.setGeometry(placedInside(place, available));
    } else {
        const QSize size = boundedSize(kFirstSize, available);
        window.setGeometry(QRect(available.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
    window.restoreState(settings.value(kState).toByteArray());
    if (settings.value(kMaximised).toBool())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void WorkspaceSettings::save(const QMainWindow &window)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.setValue(kPlace, window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry());
    settings.setValue(kMaximised, window.isMaximized());
    settings.setValue(kState, window.saveState());
}

} // namespace zelbrook
